#include "drill/QuestionScreen.h"

#include "drill/Controls.h"
#include "drill/Layout.h"
#include "drill/Picture.h"
#include "script/Interpreter.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace numbrelle {

namespace {

constexpr int narrowTextTwips = 4695; // beside the picture
constexpr int wideTextTwips = 9255;

} // namespace

QuestionScreen::QuestionScreen(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame2"));
    ApplyLayoutLook(*this);
    resize(640, 480);

    MakePanelRect(this, Twips(120, 240, 5895, 495));
    m_label8
        = MakeFittedLabel(this, 8, QString(), Twips(120, 240, 5895, 495), FittedLabel::Fit::OneLine, Qt::AlignCenter);
    m_label10 = MakeLabel(this, 10, QStringLiteral("0/0"), Twips(6240, 240, 3255, 495), Qt::AlignCenter);
    MakePanelRect(this, Twips(120, 840, 9255, 5535));
    m_label9 = MakeLabel(this, 9, QStringLiteral("ここには問題が表示されます。"), Twips(120, 840, 9255, 5535));
    m_label9->setMargin(3); // keeps the text off the panel's outline

    m_wpictObj = new PictureBox(this);
    m_wpictObj->setObjectName(QStringLiteral("WpictObj"));
    m_wpictObj->setFont(LayoutFont(picturePixels));
    m_wpictObj->setGeometry(Twips(5040, 1080, 4095, 4095));
    m_wpictObj->hide();

    m_text1 = new QLineEdit(QStringLiteral("解答を入力"), this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(Twips(120, 6480, 8295, 495));
    m_label11 = MakeButton(this, 11, QStringLiteral("OK"), Twips(8520, 6480, 855, 495));
    connect(m_label11, &ClickLabel::clicked, this, &QuestionScreen::submitted);
}

void QuestionScreen::clearForRun(TextView counter)
{
    m_label8->clear();
    m_label9->clear();
    SetCaption(m_label10, counter);
    m_text1->clear();
    m_wpictObj->hide();
}

void QuestionScreen::showQuestion(const QuestionRecord& record, TextView counter)
{
    SetCaption(m_label8, record.title);
    SetCaption(m_label9, record.questionText);
    SetCaption(m_label10, counter);
    m_text1->clear();
    m_text1->setFocus();
    QRect question = m_label9->geometry();
    if (record.drawingList.empty()) {
        question.setWidth(wideTextTwips / 15);
        m_label9->setGeometry(question);
        m_wpictObj->hide();
    } else {
        question.setWidth(narrowTextTwips / 15);
        m_label9->setGeometry(question);
        m_wpictObj->clear();
        WPictObject(record.drawingList);
        m_wpictObj->show();
    }
}

void QuestionScreen::WPictObject(const DrawingList& list)
{
    QPainter painter(&m_wpictObj->image());
    painter.setFont(m_wpictObj->font());
    PaintDrawingList(painter, list, m_wpictObj->heightTwips(), m_penWidth);
    m_wpictObj->update();
}

Text QuestionScreen::typedAnswer() const { return m_text1->text().toStdU16String(); }

void QuestionScreen::hidePicture() { m_wpictObj->hide(); }

} // namespace numbrelle
