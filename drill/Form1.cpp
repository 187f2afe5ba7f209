#include "drill/Form1.h"

#include "drill/Controls.h"
#include "drill/Drill.h"
#include "drill/NumberBox.h"
#include "drill/Picture.h"
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
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include <bit>

namespace numbrelle {

namespace {

// The layout is drawn up in twips, 15 to a pixel.
QRect twips(int left, int top, int width, int height) { return QRect(left / 15, top / 15, width / 15, height / 15); }

const QString layoutFamily = QStringLiteral("ＭＳ Ｐゴシック");
const QColor background(255, 255, 192);
const QColor olive(128, 128, 0);

// Point sizes of the layout at the 96 dots per inch it was drawn for, so that
// texts fill their labels as intended whatever the screen reports.
QFont designFont(int pixelSize, bool bold = false)
{
    QFont font(layoutFamily);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
constexpr int textPixels = 24; // 18 pt
constexpr int listPixels = 27; // 20.25 pt
constexpr int titlePixels = 35; // 26.25 pt
constexpr int markPixels = 37; // 27.75 pt
constexpr int picturePixels = 16; // texts printed on the question picture

QString qText(TextView text)
{
    QString shown = QString::fromStdU16String(Text(text));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

void setCaption(QLabel* label, TextView text) { label->setText(qText(text)); }

} // namespace

void InstallJapaneseFonts()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QFont::insertSubstitutions(layoutFamily, { QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP") });
}

Form1::Form1(QuestionScript& script, Clock& clock, Beeper& beeper, FileSystem& files, RandomSource& random,
    DisplaySettings& display, QWidget* parent)
    : QWidget(parent)
    , m_script(script)
    , m_clock(clock)
    , m_beeper(beeper)
    , m_files(files)
    , m_display(display)
{
    InstallJapaneseFonts();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(programCaption));
    setFixedSize(640, 480);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, olive);
    colours.setColor(QPalette::Text, olive);
    setPalette(colours);
    setFont(designFont(textPixels));

    // The bit pattern of the time: every distinct moment gives its own sequence.
    random.seed(std::bit_cast<std::uint32_t>(m_clock.secondsSinceMidnight()));

    buildSelectionScreen();
    m_frame1 = makePanel("Frame1");
    m_frame2 = makePanel("Frame2");
    m_frame3 = makePanel("Frame3");
    m_frame4 = makePanel("Frame4");
    buildTitleScreen();
    buildQuestionScreen();
    buildMarkingScreen();
    buildResultScreen();
    for (QFrame* frame : { m_frame1, m_frame2, m_frame3, m_frame4 }) {
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

QLabel* makeLabel(
    QWidget* parent, int number, const QString& text, QRect where, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    // Script texts are shown as written, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(align);
    label->setGeometry(where);
    return label;
}

ClickLabel* makeButton(QWidget* parent, int number, const QString& text, QRect where)
{
    auto* label = new ClickLabel(text, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    label->setTextFormat(Qt::PlainText);
    label->setFont(designFont(listPixels, true));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(where);
    return label;
}

// The outlined rectangle a group of texts sits on.
void makePanelRect(QWidget* parent, QRect where)
{
    auto* rectangle = new QFrame(parent);
    rectangle->setFrameShape(QFrame::Box);
    rectangle->setGeometry(where);
}

QListWidget* makeList(QWidget* parent, const char* name, QRect where)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(designFont(listPixels));
    list->setGeometry(where);
    return list;
}

} // namespace

void Form1::buildTitleScreen()
{
    // The shadow is made first so that the title lies over it.
    auto* shadow = makeLabel(m_frame1, 6, QString::fromLatin1(programCaption), twips(1800, 2880, 6735, 735));
    shadow->setFont(designFont(titlePixels));
    QPalette shadowColour = shadow->palette();
    shadowColour.setColor(QPalette::WindowText, QColor(192, 192, 0));
    shadow->setPalette(shadowColour);
    m_label[6] = shadow;
    m_label[5] = makeLabel(m_frame1, 5, QString::fromLatin1(programCaption), twips(1560, 2760, 6735, 735));
    m_label[5]->setFont(designFont(titlePixels));
    auto* start = makeButton(m_frame1, 7, QStringLiteral("Start"), twips(4200, 4680, 975, 495));
    m_label[7] = start;
    connect(start, &ClickLabel::clicked, this, &Form1::titleStart);

    m_picture1 = new ProgressBar(m_frame1);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setGeometry(twips(120, 6840, 3735, 255));
    m_picture1->hide();
}

void Form1::buildSelectionScreen()
{
    m_list1 = makeList(this, "List1", twips(120, 120, 4455, 2055));
    m_list2 = makeList(this, "List2", twips(120, 2400, 4455, 4485));
    connect(m_list1, &QListWidget::currentRowChanged, this, &Form1::categorySelected);
    connect(m_list2, &QListWidget::currentRowChanged, this, &Form1::questionTypeSelected);

    makePanelRect(this, twips(4680, 120, 4815, 495));
    m_label[2] = makeLabel(this, 2, QStringLiteral("Title"), twips(4680, 120, 4815, 495), Qt::AlignCenter);
    makePanelRect(this, twips(4680, 720, 4815, 5175));
    m_label[4] = makeLabel(this, 4, QStringLiteral("ここには問題の説明が表示されます。"), twips(4680, 720, 4815, 5175));
    m_label[4]->setMargin(3); // keeps the text off the panel's outline
    m_label[18] = makeLabel(this, 18, QStringLiteral("出題数："), twips(6120, 6000, 1335, 495));

    m_text2 = new QLineEdit(QStringLiteral("10"), this);
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_text2->setGeometry(twips(7440, 6000, 1215, 495));
    connect(m_text2, &QLineEdit::textChanged, this, &Form1::numberTextChanged);

    m_upDown1 = new UpDown(this);
    m_upDown1->setObjectName(QStringLiteral("UpDown1"));
    m_upDown1->setGeometry(twips(8640, 6000, 240, 495));
    connect(m_upDown1, &UpDown::up, this, [this] { m_text2->setText(qText(SpinUpText(m_QuestionCount))); });
    connect(m_upDown1, &UpDown::down, this, [this] { m_text2->setText(qText(SpinDownText(m_QuestionCount))); });

    auto* start = makeButton(this, 3, QStringLiteral("Start"), twips(7440, 6600, 975, 495));
    auto* exit = makeButton(this, 1, QStringLiteral("Exit"), twips(8640, 6600, 975, 495));
    m_label[3] = start;
    m_label[1] = exit;
    connect(start, &ClickLabel::clicked, this, &Form1::drillStart);
    connect(exit, &ClickLabel::clicked, this, &QWidget::close);
}

void Form1::buildQuestionScreen()
{
    makePanelRect(m_frame2, twips(120, 240, 5895, 495));
    m_label[8] = makeLabel(m_frame2, 8, QString(), twips(120, 240, 5895, 495), Qt::AlignCenter);
    m_label[10] = makeLabel(m_frame2, 10, QStringLiteral("0/0"), twips(6240, 240, 3255, 495), Qt::AlignCenter);
    makePanelRect(m_frame2, twips(120, 840, 9255, 5535));
    m_label[9] = makeLabel(m_frame2, 9, QStringLiteral("ここには問題が表示されます。"), twips(120, 840, 9255, 5535));
    m_label[9]->setMargin(3);

    m_wpictObj = new PictureBox(m_frame2);
    m_wpictObj->setObjectName(QStringLiteral("WpictObj"));
    m_wpictObj->setFont(designFont(picturePixels));
    m_wpictObj->setGeometry(twips(5040, 1080, 4095, 4095));
    m_wpictObj->hide();

    m_text1 = new QLineEdit(QStringLiteral("解答を入力"), m_frame2);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(twips(120, 6480, 8295, 495));
    auto* ok = makeButton(m_frame2, 11, QStringLiteral("OK"), twips(8520, 6480, 855, 495));
    m_label[11] = ok;
    connect(ok, &ClickLabel::clicked, this, &Form1::submit);
}

void Form1::buildMarkingScreen()
{
    makePanelRect(m_frame3, twips(2400, 2520, 4935, 2055));
    m_label[14] = makeLabel(m_frame3, 14, QString(), twips(2400, 2520, 615, 615), Qt::AlignCenter);
    m_label[14]->setFont(designFont(markPixels));
    m_label[12] = makeLabel(m_frame3, 12, QString(), twips(3120, 2640, 4215, 1935));
    auto* ok = makeButton(m_frame3, 13, QStringLiteral("OK"), twips(4440, 4680, 615, 495));
    m_label[13] = ok;
    connect(ok, &ClickLabel::clicked, this, &Form1::next);
}

void Form1::buildResultScreen()
{
    makePanelRect(m_frame4, twips(2280, 1320, 4815, 855));
    m_label[15] = makeLabel(m_frame4, 15, QString(), twips(2280, 1320, 4815, 855), Qt::AlignCenter);
    makePanelRect(m_frame4, twips(2280, 2280, 4815, 2895));
    m_label[17] = makeLabel(m_frame4, 17, QString(), twips(3240, 2280, 2775, 2775));
    auto* ok = makeButton(m_frame4, 16, QStringLiteral("OK"), twips(4560, 5400, 615, 495));
    m_label[16] = ok;
    connect(ok, &ClickLabel::clicked, this, &Form1::closeResult);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // The window's QWindow receives every key before it goes on to the focused
    // control; keys to other windows (a message box) are theirs.
    if (event->type() == QEvent::KeyPress && watched == windowHandle() && !m_closed)
        handleKey(static_cast<QKeyEvent*>(event)->key());
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
    const std::string folder = QuestionFolder(m_files);
    const std::vector<std::string> names = m_files.listFiles(folder);
    m_library.create(names.size());
    m_picture1->setProgress(0, names.size());
    m_picture1->show();
    for (std::size_t i = 0; i < names.size(); ++i) {
        m_library.LoadQuestionFile(i, folder + "/" + names[i], m_files, m_script);
        const QString category = QString::fromStdU16String(m_library.entries()[i].Category);
        if (m_list1->findItems(category, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
            m_list1->addItem(category);
        m_picture1->setProgress(i, names.size());
        ProcessPendingEvents();
        if (m_closed)
            return;
    }
    m_picture1->hide();
    m_loading = false;
    m_loaded = true;
    {
        // Selecting by program must refill the lists even when Qt already made
        // the first item current while the list was filled.
        QSignalBlocker quiet(m_list1);
        m_list1->setCurrentRow(0);
    }
    categorySelected(0);
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
    setCaption(m_label[4], m_library.FindDescription(name.toStdU16String()));
}

void Form1::numberTextChanged(const QString& text)
{
    const NumberBoxChange change = NumberBoxRule(text.toStdU16String(), m_QuestionCount);
    m_QuestionCount = change.count;
    if (change.beep)
        m_beeper.beep();
    if (change.newText)
        m_text2->setText(qText(*change.newText));
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
    m_script.RunScript();
    const QuestionRecord& record = m_script.record();
    setCaption(m_label[8], record.title);
    setCaption(m_label[9], record.questionText);
    setCaption(m_label[10], CounterText(m_QuestionNo, m_QuestionCount));
    m_text1->clear();
    m_text1->setFocus();
    QRect question = m_label[9]->geometry();
    if (record.drawingList.empty()) {
        question.setWidth(9255 / 15);
        m_label[9]->setGeometry(question);
        m_wpictObj->hide();
    } else {
        question.setWidth(4695 / 15);
        m_label[9]->setGeometry(question);
        m_wpictObj->clear();
        WPictObject();
        m_wpictObj->show();
    }
}

void Form1::WPictObject()
{
    QPainter painter(&m_wpictObj->image());
    painter.setFont(m_wpictObj->font());
    PaintDrawingList(painter, m_script.record().drawingList, m_wpictObj->heightTwips(), m_penWidth);
    m_wpictObj->update();
}

void Form1::submit()
{
    m_wpictObj->hide();
    const Marking marking = MarkAnswer(m_script.record().answerText, m_text1->text().toStdU16String());
    setCaption(m_label[14], marking.mark);
    setCaption(m_label[12], marking.message);
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
    setCaption(m_label[15], ResultHeading(m_script.record().title));
    setCaption(m_label[17], ResultSheet(TimeText(elapsed), m_QuestionCount, m_CorrectCount));
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
    m_wpictObj->hide();
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
