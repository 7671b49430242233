#include "app/views/ConnectionView.h"

#include "app/views/ViewBuilder.h"

namespace krn310 {

ConnectionView BuildConnectionView(QWidget* form)
{
    ConnectionView v;
    v.GroupBox1 = PlaceView(form, "GroupBox1", "Соединение с принтером", kTallViewHeight);
    QWidget* box = v.GroupBox1;

    v.Label1 = PlaceLabel(box, "Label1", 24, 24, "Интерфейс:");
    v.ComboBox1 = PlaceList(box, "ComboBox1", 24, 40, 105, {"RS-232", "Ethernet"}, 0);
    v.Label2 = PlaceLabel(box, "Label2", 24, 80, "Порт:");
    v.ComboBox2 = PlaceList(box, "ComboBox2", 24, 96, 105, {}, -1);
    v.ComboBox2->SetSorted(true);
    v.Label3 = PlaceLabel(box, "Label3", 24, 132, "Скорость:");
    v.ComboBox3 = PlaceList(box, "ComboBox3", 24, 152, 105, BaudRateItems(), 0);

    v.Label4 = PlaceLabel(box, "Label4", 192, 24, "Бит данных:");
    v.ComboBox4 = PlaceList(box, "ComboBox4", 192, 40, 105, DataBitsItems(), 1);
    v.ComboBox4->setEnabled(false);
    v.Label5 = PlaceLabel(box, "Label5", 192, 80, "Четность:");
    v.ComboBox5 = PlaceList(box, "ComboBox5", 192, 96, 105, ParityItems(), 0);
    v.ComboBox5->setEnabled(false);
    v.Label6 = PlaceLabel(box, "Label6", 192, 136, "Управление потоком:");
    v.ComboBox6 = PlaceList(box, "ComboBox6", 192, 152, 105, FlowControlItems(), 1);

    v.Edit8 = PlaceEdit(box, "Edit8", 24, 192, 121, "192.168.0.100");
    v.Edit9 = PlaceEdit(box, "Edit9", 24, 220, 121, "62002", {.maxLength = 5, .digitsOnly = true});
    v.Label39 = PlaceLabel(box, "Label39", 151, 195, "\"Формат: 192.168.0.100\"");
    v.Label39->hide();
    v.Label40 = PlaceLabel(box, "Label40", 151, 223, "\"Значение от 1 до 65535\"");
    v.Label40->hide();
    return v;
}

} // namespace krn310
