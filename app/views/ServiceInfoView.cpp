#include "app/views/ServiceInfoView.h"

#include "app/controls/Look.h"
#include "app/views/ViewBuilder.h"

namespace krn310 {

ServiceInfoView BuildServiceInfoView(QWidget* form)
{
    ServiceInfoView v;
    v.GroupBox8 = PlaceView(form, "GroupBox8", "Служебная информация", kTallViewHeight);

    v.StringGrid1 = new TStringGrid(2, 18, v.GroupBox8);
    v.StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    v.StringGrid1->setGeometry(2, 16, 316, 297);
    v.StringGrid1->setFont(GridFont());
    v.StringGrid1->SetDefaultRowHeight(16);
    QPalette colours = v.StringGrid1->palette();
    colours.setColor(QPalette::Base, InactiveCaptionColor());
    v.StringGrid1->setPalette(colours);

    v.SpeedButton2 = new TSpeedButton("Запросить информацию", v.GroupBox8);
    v.SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    v.SpeedButton2->setGeometry(8, 320, 305, 22);
    return v;
}

} // namespace krn310
