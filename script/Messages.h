// Every message text the language shows, defined once. Each begins with
// "エラー　：　" (full-width blanks), as the boxes have always shown them.
#pragma once

#include "script/Fault.h"
#include "script/Text.h"

namespace numbrelle::messages {

inline constexpr TextView errorPrefix = u"エラー　：　";
inline constexpr TextView unknownStatement = u"エラー　：　次の命令を認識できませんでした。";
inline constexpr TextView invalidOperator = u"エラー　：　符号が不正です。";
inline constexpr TextView elseOutsideIf = u"エラー　：　elseは条件分岐に使用する命令です。";
inline constexpr TextView breakOutsideLoop = u"エラー　：　breakはループ内で有効な命令です。";
inline constexpr TextView statementCapReached = u"エラー　：　命令の実行回数が上限を超えたため、実行を中断しました。";
inline constexpr TextView tooManyMessages = u"エラー　：　メッセージが多すぎるため、これ以降の表示を省略します。";
inline constexpr TextView tooManyStatements = u"エラー　：　命令が多すぎます。";
inline constexpr TextView noDate = u"NoDate";

// The description shown after the prefix for a fault.
TextView faultDescription(Fault fault);

} // namespace numbrelle::messages
