#include "drill/MarkingScreen.h"

#include "drill/Controls.h"
#include "drill/Drill.h"
#include "drill/Layout.h"

#include <QLabel>

namespace numbrelle {

MarkingScreen::MarkingScreen(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame3"));
    ApplyLayoutLook(*this);
    resize(640, 480);

    MakePanelRect(this, Twips(2400, 2520, 4935, 2055));
    m_label14 = MakeLabel(this, 14, QString(), Twips(2400, 2520, 615, 615), Qt::AlignCenter);
    m_label14->setFont(LayoutFont(markPixels));
    // A long typed answer wraps inside the panel, clear of its outline, which
    // the label's right and bottom edges lie on.
    m_label12 = MakeFittedLabel(this, 12, QString(), Twips(3120, 2640, 4215, 1935), FittedLabel::Fit::Wrapped);
    m_label12->setContentsMargins(0, 0, 3, 3);
    m_label13 = MakeButton(this, 13, QStringLiteral("OK"), Twips(4440, 4680, 615, 495));
    connect(m_label13, &ClickLabel::clicked, this, &MarkingScreen::next);
}

void MarkingScreen::showMarking(const Marking& marking)
{
    SetCaption(m_label14, marking.mark);
    SetCaption(m_label12, marking.message);
}

} // namespace numbrelle
