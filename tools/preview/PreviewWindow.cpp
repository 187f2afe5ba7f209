#include "tools/preview/PreviewWindow.h"

#include "drill/Drill.h"
#include "drill/Layout.h"
#include "drill/MarkingScreen.h"
#include "drill/QuestionScreen.h"
#include "tools/Check.h"
#include "tools/preview/LayoutCheck.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace numbrelle::preview {

namespace {

QString qt(TextView text) { return QString::fromStdU16String(Text(text)); }

// A text on one line of a list: line breaks shown as the escape an author writes.
QString oneLine(TextView text)
{
    QString shown = qt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    return shown;
}

QListWidget* makeList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setFocusPolicy(Qt::NoFocus);
    list->setWordWrap(true);
    return list;
}

QPushButton* makeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // The keys belong to the question screen's answer box.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

PreviewWindow::PreviewWindow(const std::string& path, std::uint32_t seed, QWidget* parent)
    : QWidget(parent)
    , m_path(path)
    , m_seed(seed)
{
    setWindowTitle(QStringLiteral("numbrelle-preview — %1").arg(QString::fromStdString(path)));
    m_pages = new QStackedWidget(this);
    m_pages->setFixedSize(640, 480);
    m_questionScreen = new QuestionScreen(m_pages);
    m_markingScreen = new MarkingScreen(m_pages);
    m_problem = new QLabel(m_pages);
    m_problem->setObjectName(QStringLiteral("problem"));
    ApplyLayoutLook(*m_problem);
    m_problem->setWordWrap(true);
    m_problem->setAlignment(Qt::AlignCenter);
    m_problem->setMargin(40);
    for (QWidget* page : { static_cast<QWidget*>(m_questionScreen), static_cast<QWidget*>(m_markingScreen),
             static_cast<QWidget*>(m_problem) })
        m_pages->addWidget(page);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pages, 0, Qt::AlignTop);
    layout->addWidget(buildSidePanel(), 1);

    connect(m_questionScreen, &QuestionScreen::submitted, this, &PreviewWindow::submit);
    connect(m_markingScreen, &MarkingScreen::next, this, &PreviewWindow::backToQuestion);

    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &PreviewWindow::reload);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &PreviewWindow::fileChangedOnDisk);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &PreviewWindow::fileChangedOnDisk);
    reload();
}

QWidget* PreviewWindow::buildSidePanel()
{
    auto* panel = new QWidget(this);
    panel->setMinimumWidth(320);
    auto* column = new QVBoxLayout(panel);
    m_fileLabel = new QLabel(panel);
    m_fileLabel->setWordWrap(true);
    column->addWidget(m_fileLabel);

    auto* seeds = new QHBoxLayout;
    QPushButton* previous = makeButton(QStringLiteral("◀ 前 (PageUp)"), panel);
    m_seedLabel = new QLabel(panel);
    m_seedLabel->setAlignment(Qt::AlignCenter);
    QPushButton* next = makeButton(QStringLiteral("次 (PageDown) ▶"), panel);
    seeds->addWidget(previous);
    seeds->addWidget(m_seedLabel, 1);
    seeds->addWidget(next);
    column->addLayout(seeds);
    connect(previous, &QPushButton::clicked, this, [this] { showSeed(m_seed > 1 ? m_seed - 1 : 1); });
    connect(next, &QPushButton::clicked, this, [this] { showSeed(m_seed + 1); });

    column->addWidget(new QLabel(QStringLiteral("正解として受けつける答え（「_」で区切られたもの）"), panel));
    m_answers = makeList(panel);
    column->addWidget(m_answers, 1);
    column->addWidget(new QLabel(QStringLiteral("メッセージ（ドリルでは一つずつ表示されます）"), panel));
    m_messages = makeList(panel);
    column->addWidget(m_messages, 2);
    column->addWidget(new QLabel(QStringLiteral("レイアウトの警告"), panel));
    m_warnings = makeList(panel);
    column->addWidget(m_warnings, 1);
    column->addWidget(
        new QLabel(QStringLiteral("答えを入力して Enter で採点画面、もう一度 Enter で問題に戻ります。"), panel));
    return panel;
}

void PreviewWindow::showSeed(std::uint32_t seed)
{
    m_seed = std::max<std::uint32_t>(seed, 1);
    if (m_file.state != FileState::Question)
        return;
    m_run = RunSeed(m_file, m_seed);
    showRun();
}

void PreviewWindow::reload()
{
    m_file = LoadQuestionFile(m_path);
    watch();
    const QString encoding = QString::fromUtf8(EncodingName(m_file.encoding));
    m_fileLabel->setText(
        QStringLiteral("%1\n文字コード: %2")
            .arg(QString::fromStdString(m_path),
                m_file.state == FileState::Missing || m_file.state == FileState::Unreadable ? QStringLiteral("—")
                                                                                            : encoding));
    if (m_file.state == FileState::Question)
        showSeed(m_seed);
    else
        showProblem();
    emit reloaded();
}

void PreviewWindow::fileChangedOnDisk() { m_settle.start(); }

void PreviewWindow::watch()
{
    // A save by rename leaves the watch on a file that is gone; the folder's
    // watch sees the new file arrive, and the file is watched again.
    const QString file = QString::fromStdString(m_path);
    const QString folder = QFileInfo(file).absolutePath();
    if (!m_watcher.directories().contains(folder))
        m_watcher.addPath(folder);
    if (QFileInfo::exists(file) && !m_watcher.files().contains(file))
        m_watcher.addPath(file);
}

void PreviewWindow::showRun()
{
    const runner::RunReport& report = m_run.report;
    m_seedLabel->setText(QStringLiteral("シード %1").arg(m_seed));
    m_questionScreen->showQuestion(report.record, CounterText(static_cast<std::int32_t>(m_seed), runner::drillLength));

    m_answers->clear();
    for (TextView answer : AcceptedAnswers(report.record.answerText))
        m_answers->addItem(answer.empty() ? QStringLiteral("（空の答え）") : oneLine(answer));

    m_messages->clear();
    for (const runner::CapturedMessage& message : report.messages) {
        const QString where = message.line > 0 ? QStringLiteral("%1 行目").arg(message.line) : QStringLiteral("行なし");
        m_messages->addItem(QStringLiteral("%1: %2").arg(where, qt(message.text)));
    }

    m_warnings->clear();
    const Text name = DisplayName(m_path, report.record.title);
    for (const LayoutWarning& warning : CheckLayout(*m_questionScreen, report.record, report.drawingLines, name)) {
        const QString where = warning.line > 0 ? QStringLiteral("%1 行目: ").arg(warning.line) : QString();
        m_warnings->addItem(where + QString::fromStdString(warning.what));
    }
    m_pages->setCurrentWidget(m_questionScreen);
    m_questionScreen->answerBox()->setFocus();
}

void PreviewWindow::showProblem()
{
    m_problem->setText(qt(FileStateMessage(m_file)));
    m_pages->setCurrentWidget(m_problem);
    m_seedLabel->setText(QStringLiteral("シード %1").arg(m_seed));
    m_answers->clear();
    m_messages->clear();
    m_warnings->clear();
}

void PreviewWindow::submit()
{
    if (!showsQuestion())
        return;
    m_markingScreen->showMarking(MarkAnswer(m_run.report.record.answerText, m_questionScreen->typedAnswer()));
    m_pages->setCurrentWidget(m_markingScreen);
    setFocus();
}

void PreviewWindow::backToQuestion()
{
    if (!showsMarking())
        return;
    m_pages->setCurrentWidget(m_questionScreen);
    m_questionScreen->answerBox()->setFocus();
}

bool PreviewWindow::showsQuestion() const { return m_pages->currentWidget() == m_questionScreen; }
bool PreviewWindow::showsMarking() const { return m_pages->currentWidget() == m_markingScreen; }

void PreviewWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown: showSeed(m_seed + 1); break;
    case Qt::Key_PageUp: showSeed(m_seed > 1 ? m_seed - 1 : 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A held Enter acts once.
        if (event->isAutoRepeat())
            break;
        if (showsQuestion())
            submit();
        else
            backToQuestion();
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

} // namespace numbrelle::preview
