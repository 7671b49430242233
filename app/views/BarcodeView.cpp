#include "app/views/BarcodeView.h"

#include "app/views/ViewBuilder.h"

namespace krn310 {

BarcodeView BuildBarcodeView(QWidget* form)
{
    BarcodeView v;
    v.GroupBox6 = PlaceView(form, "GroupBox6", "Параметры штрих-кода (набор параметров 1)", kViewHeight);
    QWidget* box = v.GroupBox6;

    v.Label16 = PlaceLabel(box, "Label16", 16, 32, "Высота штрих-кода, точек");
    v.Edit4 = PlaceEdit(box, "Edit4", 192, 24, 57, "162", {.maxLength = 3});
    v.Label17 = PlaceLabel(box, "Label17", 16, 64, "Ширина элемента штрих-кода");
    v.Edit5 = PlaceEdit(box, "Edit5", 192, 56, 57, "1", {.maxLength = 1});
    v.Label18 = PlaceLabel(box, "Label18", 16, 96, "Размещение HRI символов");
    v.ComboBox10 = PlaceList(box, "ComboBox10", 192, 88, 121, {"Не печатается", "Сверху", "Снизу", "Сверху и снизу"}, 0);
    v.Label19 = PlaceLabel(box, "Label19", 16, 128, "Шрифт HRI символов");
    v.ComboBox11 = PlaceList(box, "ComboBox11", 192, 120, 121, {"Font A", "Font B", "Font C"}, 0);
    return v;
}

} // namespace krn310
