#include "app/views/PositioningView.h"

#include "app/views/ViewBuilder.h"

namespace krn310 {

PositioningView BuildPositioningView(QWidget* form)
{
    PositioningView v;
    v.GroupBox5 = PlaceView(form, "GroupBox5", "Позиционирование текста (набор параметров 1)", kViewHeight);
    QWidget* box = v.GroupBox5;

    v.Label12 = PlaceLabel(box, "Label12", 16, 24, "Выравнивание");
    v.ComboBox9 = PlaceList(box, "ComboBox9", 192, 16, 121, {"Влево", "По центру", "Вправо"}, 0);
    v.Label13 = PlaceLabel(box, "Label13", 16, 48, "Отступ слева");
    v.Edit1 = PlaceEdit(box, "Edit1", 192, 40, 57, "0", {.maxLength = 3});
    v.Label14 = PlaceLabel(box, "Label14", 16, 72, "Ширина области печати");
    v.Edit2 = PlaceEdit(box, "Edit2", 192, 64, 57, "72", {.maxLength = 3});
    v.Label23 = PlaceLabel(box, "Label23", 16, 96, "Отступ между строк");
    v.Edit6 = PlaceEdit(box, "Edit6", 192, 88, 57, "0", {.maxLength = 3});
    v.Label15 = PlaceLabel(box, "Label15", 16, 128, "Позиции табуляции");
    v.Edit3 = PlaceEdit(box, "Edit3", 16, 144, 289, "8,16,24,32,40,48,0");
    v.Label22 = PlaceLabel(box, "Label22", 16, 176, "Режим перевернутой печати");
    v.ComboBox13 = PlaceList(box, "ComboBox13", 192, 168, 121, {"Нет", "Да"}, 0);
    return v;
}

} // namespace krn310
