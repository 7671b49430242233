#include "app/views/PrinterSettings2View.h"

#include "app/views/ViewBuilder.h"

namespace krn310 {

PrinterSettings2View BuildPrinterSettings2View(QWidget* form)
{
    PrinterSettings2View v;
    v.GroupBox3 = PlaceView(form, "GroupBox3", "Настройки принтера-2 (набор параметров 2)", kViewHeight);
    v.GroupBox3->setEnabled(false);

    v.GroupBox9 = PlaceGroupBox(v.GroupBox3, "GroupBox9", "Использование внутреннего BUZZERa", QRect(16, 24, 289, 121));
    v.CheckBox9 = PlaceCheckBox(v.GroupBox9, "CheckBox9", 8, 24, 273, "Включение/выключение BUZZERa", false);
    v.CheckBox9->SetCaptionOnLeft(true);

    v.RadioGroup1 = new TRadioGroup("Выбор канала", v.GroupBox9);
    v.RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    v.RadioGroup1->setGeometry(56, 48, 169, 65);
    v.RadioGroup1->SetItems({"Канал денежного ящика 0", "Канал денежного ящика 1"});
    v.RadioGroup1->SetItemIndex(0);
    return v;
}

} // namespace krn310
