#include "app/views/FontView.h"

#include "app/views/ViewBuilder.h"

namespace krn310 {

FontView BuildFontView(QWidget* form)
{
    FontView v;
    v.GroupBox4 = PlaceView(form, "GroupBox4", "Параметры шрифта (набор параметров 1)", kViewHeight);
    QWidget* box = v.GroupBox4;

    v.Label20 = PlaceLabel(box, "Label20", 16, 32, "Шрифт:");
    v.ComboBox12 = PlaceList(box, "ComboBox12", 192, 24, 121,
                             {"Font A (Win 1251)", "Font B (Win 1251)", "Font C (DOS 866)"}, 0);
    v.Label21 = PlaceLabel(box, "Label21", 16, 64, "Отступ между символами:");
    v.Edit7 = PlaceEdit(box, "Edit7", 192, 56, 121, "0", {.maxLength = 3});
    v.Label7 = PlaceLabel(box, "Label7", 16, 104, "Высота:");
    v.ComboBox7 = PlaceList(box, "ComboBox7", 192, 96, 121, CharacterSizeItems(), 0);
    v.Label8 = PlaceLabel(box, "Label8", 16, 144, "Ширина:");
    v.ComboBox8 = PlaceList(box, "ComboBox8", 192, 136, 121, CharacterSizeItems(), 0);
    v.Label9 = PlaceLabel(box, "Label9", 16, 184, "Стиль:");

    // The shape goes first so that the style boxes lie on its white.
    v.Shape1 = new TShape(box);
    v.Shape1->setObjectName(QStringLiteral("Shape1"));
    v.Shape1->setGeometry(192, 176, 121, 65);
    v.CheckBox1 = PlaceCheckBox(box, "CheckBox1", 200, 184, 105, "Жирный", false);
    v.CheckBox2 = PlaceCheckBox(box, "CheckBox2", 200, 200, 105, "Подчеркнутый", false);
    v.CheckBox3 = PlaceCheckBox(box, "CheckBox3", 200, 216, 105, "Негативный", false);
    return v;
}

} // namespace krn310
