#include "script/Messages.h"

namespace numbrelle::messages {

TextView faultDescription(Fault fault)
{
    switch (fault) {
    case Fault::TypeMismatch: return u"型が一致しません。";
    case Fault::Overflow: return u"オーバーフローしました。";
    case Fault::SubscriptOutOfRange: return u"インデックスが有効範囲にありません。";
    case Fault::DivisionByZero: return u"0で除算しました。";
    case Fault::InvalidArgument: return u"引数が不正です。";
    case Fault::None: break;
    }
    return u"";
}

} // namespace numbrelle::messages
