#include "app/views/ApplyPanel.h"

#include "app/controls/Look.h"
#include "app/views/ViewBuilder.h"

namespace krn310 {

namespace {

TSpeedButton* PlaceButton(QWidget* parent, const char* name, int left, int top, const QString& caption)
{
    auto* button = new TSpeedButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, 145, 25);
    return button;
}

} // namespace

ApplyPanel BuildApplyPanel(QWidget* form)
{
    ApplyPanel v;
    v.Panel2 = new TPanel(TPanel::Bevel::Raised, form);
    v.Panel2->setObjectName(QStringLiteral("Panel2"));
    v.Panel2->setGeometry(200, 280, 320, 89);
    v.Panel2->setFont(ViewFont());
    v.Panel2->hide();

    v.Label24 = PlaceLabel(v.Panel2, "Label24", 32, 8, "Набор параметров 1");
    v.SpeedButton3 = PlaceButton(v.Panel2, "SpeedButton3", 8, 24, "Применить");
    v.SpeedButton4 = PlaceButton(v.Panel2, "SpeedButton4", 8, 56, "Установить заводские");
    v.Label25 = PlaceLabel(v.Panel2, "Label25", 192, 8, "Набор параметров 2");
    v.SpeedButton5 = PlaceButton(v.Panel2, "SpeedButton5", 168, 24, "Применить");
    v.SpeedButton6 = PlaceButton(v.Panel2, "SpeedButton6", 168, 56, "Установить заводские");
    return v;
}

} // namespace krn310
