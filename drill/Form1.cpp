#include "drill/Form1.h"

#include "drill/Controls.h"
#include "drill/Drill.h"
#include "drill/Layout.h"
#include "drill/MarkingScreen.h"
#include "drill/NumberBox.h"
#include "drill/QuestionScreen.h"
#include "drill/QuestionScript.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/DisplaySettings.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/qt/QtBeeper.h"
#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QWindow>

#include <bit>

namespace numbrelle {

Form1::Form1(QuestionScript& script, Clock& clock, Beeper& beeper, FileSystem& files, RandomSource& random,
    DisplaySettings& display, QWidget* parent)
    : QWidget(parent)
    , m_script(script)
    , m_clock(clock)
    , m_beeper(beeper)
    , m_files(files)
    , m_display(display)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(programCaption));
    setFixedSize(640, 480);
    ApplyLayoutLook(*this);

    // The bit pattern of the time: every distinct moment gives its own sequence.
    random.seed(std::bit_cast<std::uint32_t>(m_clock.secondsSinceMidnight()));

    buildSelectionScreen();
    m_frame1 = makePanel("Frame1");
    m_frame2 = new QuestionScreen(this);
    m_frame3 = new MarkingScreen(this);
    m_frame4 = makePanel("Frame4");
    buildTitleScreen();
    buildResultScreen();
    connect(m_frame2, &QuestionScreen::submitted, this, &Form1::submit);
    connect(m_frame3, &MarkingScreen::next, this, &Form1::next);
    for (QFrame* frame : std::initializer_list<QFrame*> { m_frame1, m_frame2, m_frame3, m_frame4 }) {
        frame->setGeometry(0, 0, width(), height());
        frame->setVisible(frame == m_frame1);
    }

    // A filter on the window alone would see keys only after the focused line
    // edit or list had ignored them; the application sees them first.
    qApp->installEventFilter(this);
    m_text2->installEventFilter(this);
}

Form1::~Form1() { qApp->removeEventFilter(this); }

QFrame* Form1::makePanel(const char* name)
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAutoFillBackground(true);
    return panel;
}

namespace {

QListWidget* makeList(QWidget* parent, const char* name, QRect where)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(LayoutFont(listPixels));
    list->setGeometry(where);
    return list;
}

} // namespace

void Form1::buildTitleScreen()
{
    // The shadow is made first so that the title lies over it.
    auto* shadow = MakeLabel(m_frame1, 6, QString::fromLatin1(programCaption), Twips(1800, 2880, 6735, 735));
    shadow->setFont(LayoutFont(titlePixels));
    QPalette shadowColour = shadow->palette();
    shadowColour.setColor(QPalette::WindowText, QColor(192, 192, 0));
    shadow->setPalette(shadowColour);
    m_label[6] = shadow;
    m_label[5] = MakeLabel(m_frame1, 5, QString::fromLatin1(programCaption), Twips(1560, 2760, 6735, 735));
    m_label[5]->setFont(LayoutFont(titlePixels));
    auto* start = MakeButton(m_frame1, 7, QStringLiteral("Start"), Twips(4200, 4680, 975, 495));
    m_label[7] = start;
    connect(start, &ClickLabel::clicked, this, &Form1::titleStart);

    m_picture1 = new ProgressBar(m_frame1);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setGeometry(Twips(120, 6840, 3735, 255));
    m_picture1->hide();
}

void Form1::buildSelectionScreen()
{
    m_list1 = makeList(this, "List1", Twips(120, 120, 4455, 2055));
    m_list2 = makeList(this, "List2", Twips(120, 2400, 4455, 4485));
    new FocusFrame(m_list1, layoutOlive);
    new FocusFrame(m_list2, layoutOlive);
    connect(m_list1, &QListWidget::currentRowChanged, this, &Form1::categorySelected);
    connect(m_list2, &QListWidget::currentRowChanged, this, &Form1::questionTypeSelected);

    MakePanelRect(this, Twips(4680, 120, 4815, 495));
    m_label[2] = MakeFittedLabel(
        this, 2, QStringLiteral("Title"), Twips(4680, 120, 4815, 495), FittedLabel::Fit::OneLine, Qt::AlignCenter);
    MakePanelRect(this, Twips(4680, 720, 4815, 5175));
    m_label[4] = MakeFittedLabel(this, 4, QStringLiteral("ここには問題の説明が表示されます。"),
        Twips(4680, 720, 4815, 5175), FittedLabel::Fit::Wrapped);
    m_label[4]->setMargin(3); // keeps the text off the panel's outline
    m_label[18] = MakeLabel(this, 18, QStringLiteral("出題数："), Twips(6120, 6000, 1335, 495));

    m_text2 = new QLineEdit(QStringLiteral("10"), this);
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_text2->setGeometry(Twips(7440, 6000, 1215, 495));
    connect(m_text2, &QLineEdit::textChanged, this, &Form1::numberTextChanged);

    m_upDown1 = new UpDown(this);
    m_upDown1->setObjectName(QStringLiteral("UpDown1"));
    m_upDown1->setGeometry(Twips(8640, 6000, 240, 495));
    connect(m_upDown1, &UpDown::up, this, [this] { spin(SpinUpText(m_QuestionCount)); });
    connect(m_upDown1, &UpDown::down, this, [this] { spin(SpinDownText(m_QuestionCount)); });

    auto* start = MakeButton(this, 3, QStringLiteral("Start"), Twips(7440, 6600, 975, 495));
    auto* exit = MakeButton(this, 1, QStringLiteral("Exit"), Twips(8640, 6600, 975, 495));
    m_label[3] = start;
    m_label[1] = exit;
    connect(start, &ClickLabel::clicked, this, &Form1::drillStart);
    connect(exit, &ClickLabel::clicked, this, &QWidget::close);
}

void Form1::buildResultScreen()
{
    MakePanelRect(m_frame4, Twips(2280, 1320, 4815, 855));
    m_label[15] = MakeLabel(m_frame4, 15, QString(), Twips(2280, 1320, 4815, 855), Qt::AlignCenter);
    MakePanelRect(m_frame4, Twips(2280, 2280, 4815, 2895));
    m_label[17] = MakeLabel(m_frame4, 17, QString(), Twips(3240, 2280, 2775, 2775));
    auto* ok = MakeButton(m_frame4, 16, QStringLiteral("OK"), Twips(4560, 5400, 615, 495));
    m_label[16] = ok;
    connect(ok, &ClickLabel::clicked, this, &Form1::closeResult);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // The window's QWindow receives every key before it goes on to the focused
    // control; keys to other windows (a message box) are theirs.
    // A held key acts once: its auto-repeats still reach the focused control,
    // but a held Enter must not run through a whole drill.
    if (event->type() == QEvent::KeyPress && watched == windowHandle() && !m_closed) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            handleKey(key->key());
    }
    if (watched == m_text2 && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_text2, &QLineEdit::selectAll);
    // Handled keys go on to the focused control as well.
    return false;
}

void Form1::handleKey(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_frame1->isHidden())
            titleStart();
        else if (!m_frame2->isHidden())
            submit();
        else if (!m_frame3->isHidden())
            next();
        else if (!m_frame4->isHidden())
            closeResult();
        else
            drillStart();
        break;
    case Qt::Key_Escape: close(); break;
    case Qt::Key_F1:
        if (!m_frame2->isHidden())
            abort();
        break;
    default: break;
    }
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The display settings need the window on its screen to know which output
    // to switch, so the mode is chosen when it first shows.
    if (!m_screenChosen) {
        m_screenChosen = true;
        ScreenSetting();
    }
}

void Form1::ScreenSetting()
{
    DisplayModeInfo mode;
    int number = 0;
    if (!m_display.enumMode(number, mode))
        return;
    for (;;) {
        ++number;
        if (mode.height == 480 && mode.width == 640 && mode.bitsPerPixel == 16) {
            SetFull(number - 1);
            return;
        }
        if (!m_display.enumMode(number, mode))
            return;
    }
}

void Form1::SetFull(int modeNumber)
{
    move(x(), 0);
    move(0, 0);
    m_display.changeMode(modeNumber);
}

// The one way out: Exit, Escape and the window's close button all end here.
void Form1::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        m_display.restore();
    }
    event->accept();
    // Does nothing outside the event loop (tests), unlike exit(), which would
    // make every later event loop return at once.
    QCoreApplication::quit();
}

void Form1::titleStart()
{
    if (m_loading || m_loaded)
        return;
    m_QuestionCount = 20;
    m_text2->setText(QStringLiteral("20"));
    loadLibrary();
    if (m_closed)
        return;
    m_frame1->hide();
}

void Form1::loadLibrary()
{
    m_loading = true;
    m_list1->addItem(QString::fromStdU16String(allCategories));
    m_picture1->setProgress(0, 0);
    m_picture1->show();
    m_library.Load(m_files, m_script, [this](std::size_t index, std::size_t count) {
        addNewCategories();
        m_picture1->setProgress(index, count);
        ProcessPendingEvents();
        return !m_closed;
    });
    if (m_closed)
        return;
    m_picture1->hide();
    m_loading = false;
    m_loaded = true;
    if (m_library.entries().empty())
        m_label[4]->setText(
            QString::fromStdU16String(noQuestionFiles).arg(QFile::decodeName(QuestionFolder(m_files).c_str())));
    {
        // Selecting by program must refill the lists even when Qt already made
        // the first item current while the list was filled.
        QSignalBlocker quiet(m_list1);
        m_list1->setCurrentRow(0);
    }
    categorySelected(0);
}

// List1 follows the library's category list as each file loads.
void Form1::addNewCategories()
{
    const std::vector<Text> categories = m_library.categories();
    for (auto row = static_cast<std::size_t>(m_list1->count()); row < categories.size(); ++row)
        m_list1->addItem(QString::fromStdU16String(categories[row]));
}

void Form1::categorySelected(int row)
{
    if (row < 0)
        return;
    const Text category = m_list1->item(row)->text().toStdU16String();
    {
        QSignalBlocker quiet(m_list2);
        m_list2->clear();
        for (const Text& name : m_library.displayNames(category))
            m_list2->addItem(QString::fromStdU16String(name));
        m_list2->setCurrentRow(m_list2->count() ? 0 : -1);
    }
    questionTypeSelected(m_list2->currentRow());
}

void Form1::questionTypeSelected(int row)
{
    if (row < 0)
        return;
    const QString name = m_list2->item(row)->text();
    m_label[2]->setText(name);
    SetCaption(m_label[4], m_library.FindDescription(name.toStdU16String()));
}

void Form1::numberTextChanged(const QString& text)
{
    const NumberBoxChange change = NumberBoxRule(text.toStdU16String(), m_QuestionCount);
    m_QuestionCount = change.count;
    if (change.beep)
        m_beeper.beep();
    if (change.newText)
        m_text2->setText(ShownText(*change.newText));
}

void Form1::spin(TextView text)
{
    // An arrow held down when the drill starts goes on repeating; the count is
    // not the box's to change until the drill is over.
    if (!m_text2->isEnabled())
        return;
    const bool refused = NumberBoxRule(text, m_QuestionCount).beep;
    m_text2->setText(ShownText(text));
    // A held arrow stops at the end of the range, with one beep.
    if (refused)
        m_upDown1->stopRepeating();
}

void Form1::drillStart()
{
    // An empty library has nothing to drill.
    if (!m_loaded || m_list2->currentRow() < 0)
        return;
    m_list1->setEnabled(false);
    m_list2->setEnabled(false);
    m_text2->setEnabled(false);
    if (const QuestionEntry* entry = m_library.entryNamed(m_list2->currentItem()->text().toStdU16String()))
        m_script.BuildStatementList(ReadQuestionFile(m_files, entry->Path));
    m_frame2->show();
    m_CorrectCount = 0;
    m_QuestionNo = 1;
    m_StartTime = m_clock.secondsSinceMidnight();
    MakeQu();
}

void Form1::MakeQu()
{
    const Text counter = CounterText(m_QuestionNo, m_QuestionCount);
    m_frame2->clearForRun(counter);
    m_script.RunScript();
    m_frame2->showQuestion(m_script.record(), counter);
}

void Form1::WPictObject() { m_frame2->WPictObject(m_script.record().drawingList); }

void Form1::submit()
{
    m_frame2->hidePicture();
    const Marking marking = MarkAnswer(m_script.record().answerText, m_frame2->typedAnswer());
    m_frame3->showMarking(marking);
    if (marking.right)
        ++m_CorrectCount;
    m_frame3->show();
    m_frame2->hide();
}

void Form1::next()
{
    ++m_QuestionNo;
    if (m_QuestionNo > m_QuestionCount) {
        makeResultSheet();
        return;
    }
    m_frame2->show();
    m_frame3->hide();
    MakeQu();
}

void Form1::makeResultSheet()
{
    const std::int32_t elapsed = ElapsedSeconds(m_StartTime, m_clock.secondsSinceMidnight());
    SetCaption(m_label[15], ResultHeading(m_script.record().title));
    SetCaption(m_label[17], ResultSheet(TimeText(elapsed), m_QuestionCount, m_CorrectCount));
    m_frame4->show();
    m_frame3->hide();
}

void Form1::closeResult()
{
    m_frame4->hide();
    backToSelection();
}

void Form1::abort()
{
    m_frame2->hide();
    m_frame2->hidePicture();
    backToSelection();
}

void Form1::backToSelection()
{
    m_list1->setEnabled(true);
    m_list2->setEnabled(true);
    m_text2->setEnabled(true);
    m_list2->setFocus();
}

} // namespace numbrelle
