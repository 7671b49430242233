#include "app/views/ConnectionParamsView.h"

#include "app/views/ViewBuilder.h"

namespace krn310 {

namespace {

constexpr int kOctetWidth = 27;
constexpr EditLimits kAddressLimits{.maxLength = 5, .digitsOnly = true};

QLabel* PlaceRowLabel(QWidget* parent, const char* name, int top, const QString& caption)
{
    return PlaceLabel(parent, name, 3, top, caption, 61);
}

// One row of four address fields, left to right.
void PlaceAddressRow(QWidget* parent, int top, const std::array<std::pair<const char*, const char*>, 4>& fields,
                     const std::array<TEdit**, 4>& edits)
{
    static constexpr int kLefts[] = {70, 103, 134, 167};
    for (size_t i = 0; i < fields.size(); ++i)
        *edits[i] = PlaceEdit(parent, fields[i].first, kLefts[i], top, kOctetWidth, fields[i].second, kAddressLimits);
}

void BuildRs232Box(ConnectionParamsView& v)
{
    v.GroupBox10 = PlaceGroupBox(v.GroupBox7, "GroupBox10", "RS-232", QRect(7, 16, 307, 113));
    v.GroupBox10->SetCaptionColor(Qt::darkBlue);
    QWidget* box = v.GroupBox10;
    v.Label27 = PlaceLabel(box, "Label27", 16, 19, "Скорость:");
    v.ComboBox14 = PlaceList(box, "ComboBox14", 16, 39, 105, BaudRateItems(), 0);
    v.Label28 = PlaceLabel(box, "Label28", 16, 67, "Бит данных:");
    v.ComboBox15 = PlaceList(box, "ComboBox15", 16, 87, 105, DataBitsItems(), 1);
    v.ComboBox15->setEnabled(false);
    v.Label29 = PlaceLabel(box, "Label29", 184, 19, "Четность:");
    v.ComboBox16 = PlaceList(box, "ComboBox16", 184, 39, 105, ParityItems(), 0);
    v.ComboBox16->setEnabled(false);
    v.Label30 = PlaceLabel(box, "Label30", 188, 67, "Управление потоком:");
    v.ComboBox17 = PlaceList(box, "ComboBox17", 184, 87, 105, FlowControlItems(), 1);
}

void BuildEthernetBox(ConnectionParamsView& v)
{
    v.GroupBox11 = PlaceGroupBox(v.GroupBox7, "GroupBox11", "ETHERNET", QRect(7, 131, 307, 131));
    v.GroupBox11->SetCaptionColor(Qt::darkBlue);
    QWidget* box = v.GroupBox11;

    v.Label31 = PlaceRowLabel(box, "Label31", 19, "MAC-адрес:");
    struct MacField {
        const char* name;
        int left;
        const char* text;
        bool readOnly;
        TEdit** edit;
    };
    const MacField mac[] = {
        {"Edit10", 70, "4B", true, &v.Edit10},   {"Edit24", 103, "52", true, &v.Edit24},
        {"Edit25", 136, "4E", true, &v.Edit25},  {"Edit26", 169, "00", false, &v.Edit26},
        {"Edit27", 202, "00", false, &v.Edit27}, {"Edit28", 234, "00", false, &v.Edit28},
    };
    for (const MacField& field : mac)
        *field.edit = PlaceEdit(box, field.name, field.left, 11, kOctetWidth, field.text,
                                {.maxLength = 2, .readOnly = field.readOnly});

    v.Label35 = PlaceRowLabel(box, "Label35", 47, "IP-адрес:");
    PlaceAddressRow(box, 39, {{{"Edit11", "192"}, {"Edit12", "168"}, {"Edit13", "0"}, {"Edit14", "100"}}},
                    {&v.Edit11, &v.Edit12, &v.Edit13, &v.Edit14});
    v.Label36 = PlaceLabel(box, "Label36", 205, 44, "Порт:");
    v.Edit23 = PlaceEdit(box, "Edit23", 239, 39, 51, "62002", kAddressLimits);

    v.Label38 = PlaceRowLabel(box, "Label38", 71, "Маска:");
    PlaceAddressRow(box, 63, {{{"Edit22", "255"}, {"Edit21", "255"}, {"Edit19", "255"}, {"Edit20", "0"}}},
                    {&v.Edit22, &v.Edit21, &v.Edit19, &v.Edit20});

    v.Label37 = PlaceRowLabel(box, "Label37", 95, "Шлюз:");
    PlaceAddressRow(box, 87, {{{"Edit15", "192"}, {"Edit16", "168"}, {"Edit17", "0"}, {"Edit18", "1"}}},
                    {&v.Edit15, &v.Edit16, &v.Edit17, &v.Edit18});
}

} // namespace

ConnectionParamsView BuildConnectionParamsView(QWidget* form)
{
    ConnectionParamsView v;
    v.GroupBox7 = PlaceView(form, "GroupBox7", "Параметры соединения (набор параметров 2)", kViewHeight);
    BuildRs232Box(v);
    BuildEthernetBox(v);
    return v;
}

} // namespace krn310
