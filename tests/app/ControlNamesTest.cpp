#include "FormFixture.h"

namespace krn310::test {
namespace {

using ControlNamesTest = FormFixture;

struct Placement {
    const char* container;
    std::vector<const char*> controls;
};

// Each design control under the view (or top-level control) that holds it.
const std::vector<Placement> kPlacements = {
    {"Form1", {"TreeView1", "Panel2", "Panel4", "GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "GroupBox5",
               "GroupBox6", "GroupBox7", "GroupBox8"}},
    {"Panel4", {"HeaderControl1"}},
    {"Panel2", {"Label24", "SpeedButton3", "SpeedButton4", "Label25", "SpeedButton5", "SpeedButton6"}},
    {"GroupBox1", {"Label1", "ComboBox1", "Label2", "ComboBox2", "Label3", "ComboBox3", "Label4", "ComboBox4",
                   "Label5", "ComboBox5", "Label6", "ComboBox6", "Edit8", "Edit9", "Label39", "Label40"}},
    {"GroupBox2", {"Label10", "Label11", "Label26", "Panel1", "TrackBar1", "Label32", "Label33", "Label34", "Label41",
                   "Panel3", "TrackBar2", "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8"}},
    {"GroupBox3", {"GroupBox9", "CheckBox9", "RadioGroup1"}},
    {"GroupBox4", {"Label20", "ComboBox12", "Label21", "Edit7", "Label7", "ComboBox7", "Label8", "ComboBox8", "Label9",
                   "Shape1", "CheckBox1", "CheckBox2", "CheckBox3"}},
    {"GroupBox5", {"Label12", "ComboBox9", "Label13", "Edit1", "Label14", "Edit2", "Label23", "Edit6", "Label15",
                   "Edit3", "Label22", "ComboBox13"}},
    {"GroupBox6", {"Label16", "Edit4", "Label17", "Edit5", "Label18", "ComboBox10", "Label19", "ComboBox11"}},
    {"GroupBox7", {"GroupBox10", "Label27", "ComboBox14", "Label28", "ComboBox15", "Label29", "ComboBox16", "Label30",
                   "ComboBox17", "GroupBox11", "Label31", "Edit10", "Edit24", "Edit25", "Edit26", "Edit27", "Edit28",
                   "Label35", "Edit11", "Edit12", "Edit13", "Edit14", "Label36", "Edit23", "Label38", "Edit22",
                   "Edit21", "Edit19", "Edit20", "Label37", "Edit15", "Edit16", "Edit17", "Edit18"}},
    {"GroupBox8", {"StringGrid1", "SpeedButton2"}},
};

TEST_F(ControlNamesTest, EveryDesignControlExistsOnceInItsView)
{
    for (const Placement& p : kPlacements) {
        QWidget* container = QString::fromLatin1(p.container) == form->objectName()
                                 ? form.get()
                                 : form->findChild<QWidget*>(QString::fromLatin1(p.container));
        ASSERT_NE(container, nullptr) << p.container;
        for (const char* name : p.controls) {
            SCOPED_TRACE(name);
            const QList<QWidget*> found = form->findChildren<QWidget*>(QString::fromLatin1(name));
            ASSERT_EQ(found.size(), 1);
            EXPECT_TRUE(container->isAncestorOf(found.first()));
        }
    }
}

struct GeometryCase {
    const char* name;
    QRect geometry;  // a width or height of 0 is not checked
};

const GeometryCase kGeometries[] = {
    {"TreeView1", {8, 16, 185, 313}},     {"Panel2", {200, 280, 320, 89}},      {"Panel4", {8, 339, 184, 30}},
    {"SpeedButton3", {8, 24, 145, 25}},   {"SpeedButton6", {168, 56, 145, 25}}, {"Label24", {32, 8, 0, 0}},
    {"ComboBox1", {24, 40, 105, 0}},      {"ComboBox6", {192, 152, 105, 0}},    {"Edit8", {24, 192, 121, 0}},
    {"Edit9", {24, 220, 121, 0}},         {"Label39", {151, 195, 0, 0}},        {"Label40", {151, 223, 0, 0}},
    {"Panel1", {24, 48, 273, 32}},        {"TrackBar1", {1, 1, 271, 30}},       {"Panel3", {27, 118, 273, 32}},
    // Label41 stands over the thumb, which creation puts at 125.
    {"TrackBar2", {1, 1, 271, 30}},       {"Label41", {269, 103, 0, 0}},        {"CheckBox4", {24, 150, 273, 0}},
    {"CheckBox8", {24, 214, 273, 0}},     {"GroupBox9", {16, 24, 289, 121}},    {"CheckBox9", {8, 24, 0, 0}},
    {"RadioGroup1", {56, 48, 169, 65}},   {"ComboBox12", {192, 24, 121, 0}},    {"Shape1", {192, 176, 121, 65}},
    {"CheckBox3", {200, 216, 0, 0}},      {"Edit3", {16, 144, 289, 0}},         {"Edit2", {192, 64, 57, 0}},
    {"ComboBox13", {192, 168, 121, 0}},   {"Edit5", {192, 56, 57, 0}},          {"ComboBox11", {192, 120, 121, 0}},
    {"GroupBox10", {7, 16, 307, 113}},    {"GroupBox11", {7, 131, 307, 131}},   {"ComboBox14", {16, 39, 105, 0}},
    {"Label30", {188, 67, 0, 0}},         {"Label31", {3, 19, 61, 0}},          {"Edit10", {70, 11, 27, 0}},
    {"Edit28", {234, 11, 27, 0}},         {"Edit13", {134, 39, 27, 0}},         {"Edit23", {239, 39, 51, 0}},
    {"Label36", {205, 44, 0, 0}},         {"Edit22", {70, 63, 27, 0}},          {"Edit20", {167, 63, 27, 0}},
    {"Edit18", {167, 87, 27, 0}},         {"StringGrid1", {2, 16, 316, 297}},   {"SpeedButton2", {8, 320, 305, 22}},
};

TEST_F(ControlNamesTest, ControlsStandAtTheirDesignPlaces)
{
    for (const GeometryCase& c : kGeometries) {
        SCOPED_TRACE(c.name);
        const QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->pos(), c.geometry.topLeft());
        if (c.geometry.width() > 0) {
            EXPECT_EQ(w->width(), c.geometry.width());
        }
        if (c.geometry.height() > 0) {
            EXPECT_EQ(w->height(), c.geometry.height());
        }
    }
}

TEST_F(ControlNamesTest, ControlsKeepTheirPlacesWhenTheFrameIsResized)
{
    const QPoint edit = form->Connection.Edit9->pos();
    form->resize(800, 600);
    QTest::qWait(1);
    EXPECT_EQ(form->Navigation.TreeView1->geometry(), QRect(8, 16, 185, 313));
    EXPECT_EQ(form->Connection.GroupBox1->geometry(), QRect(200, 16, 321, 353));
    EXPECT_EQ(form->Connection.Edit9->pos(), edit);
}

struct ListCase {
    const char* name;
    QStringList items;
    int itemIndex;
};

TEST_F(ControlNamesTest, ListsHoldTheirDesignItems)
{
    const QStringList bauds{"115200", "57600", "38400", "28800", "19200", "14400",
                            "9600",   "4800",  "2400",  "1200",  "600"};
    const QStringList sizes{"Normal", "Double", "x3", "x4", "x5", "x6", "x7", "x8"};
    const ListCase lists[] = {
        {"ComboBox1", {"RS-232", "Ethernet"}, 0},
        {"ComboBox2", {}, -1},
        {"ComboBox3", bauds, 0},
        {"ComboBox4", {"7 bits", "8 bits"}, 1},
        {"ComboBox5", {"None", "Odd", "Even"}, 0},
        {"ComboBox6", {"None", "RTS/CTS", "Xon/Xoff"}, 1},
        {"ComboBox7", sizes, 0},
        {"ComboBox8", sizes, 0},
        {"ComboBox9", {"Влево", "По центру", "Вправо"}, 0},
        {"ComboBox10", {"Не печатается", "Сверху", "Снизу", "Сверху и снизу"}, 0},
        {"ComboBox11", {"Font A", "Font B", "Font C"}, 0},
        {"ComboBox12", {"Font A (Win 1251)", "Font B (Win 1251)", "Font C (DOS 866)"}, 0},
        {"ComboBox13", {"Нет", "Да"}, 0},
        {"ComboBox14", bauds, 0},
        {"ComboBox15", {"7 bits", "8 bits"}, 1},
        {"ComboBox16", {"None", "Odd", "Even"}, 0},
        {"ComboBox17", {"None", "RTS/CTS", "Xon/Xoff"}, 1},
    };
    for (const ListCase& c : lists) {
        SCOPED_TRACE(c.name);
        const auto* list = form->findChild<TComboBox*>(QString::fromLatin1(c.name));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->Items(), c.items);
        EXPECT_EQ(list->ItemIndex(), c.itemIndex);
    }
    EXPECT_TRUE(form->Connection.ComboBox2->Sorted());
}

TEST_F(ControlNamesTest, EditsCheckBoxesAndCaptionsHoldTheirDesignValues)
{
    const std::pair<const char*, const char*> edits[] = {
        {"Edit8", "192.168.0.100"}, {"Edit9", "62002"}, {"Edit7", "0"},   {"Edit1", "0"},    {"Edit2", "72"},
        {"Edit6", "0"},   {"Edit3", "8,16,24,32,40,48,0"}, {"Edit4", "162"}, {"Edit5", "1"},  {"Edit10", "4B"},
        {"Edit24", "52"}, {"Edit25", "4E"}, {"Edit26", "00"}, {"Edit27", "00"}, {"Edit28", "00"}, {"Edit11", "192"},
        {"Edit12", "168"}, {"Edit13", "0"}, {"Edit14", "100"}, {"Edit23", "62002"}, {"Edit22", "255"},
        {"Edit21", "255"}, {"Edit19", "255"}, {"Edit20", "0"}, {"Edit15", "192"}, {"Edit16", "168"}, {"Edit17", "0"},
        {"Edit18", "1"},
    };
    for (const auto& [name, text] : edits)
        EXPECT_EQ(form->findChild<TEdit*>(QString::fromLatin1(name))->text(), QString::fromUtf8(text)) << name;

    const std::pair<const char*, bool> boxes[] = {
        {"CheckBox1", false}, {"CheckBox2", false}, {"CheckBox3", false}, {"CheckBox4", false}, {"CheckBox5", true},
        {"CheckBox6", true},  {"CheckBox7", true},  {"CheckBox8", true},  {"CheckBox9", false},
    };
    for (const auto& [name, checked] : boxes)
        EXPECT_EQ(form->findChild<TCheckBox*>(QString::fromLatin1(name))->Checked(), checked) << name;
    for (const char* name : {"CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8", "CheckBox9"})
        EXPECT_TRUE(form->findChild<TCheckBox*>(QString::fromLatin1(name))->CaptionOnLeft()) << name;

    EXPECT_EQ(form->PrinterSettings2.RadioGroup1->Items(),
              QStringList({"Канал денежного ящика 0", "Канал денежного ящика 1"}));
    EXPECT_EQ(form->PrinterSettings2.RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(form->Connection.Label39->text(), QStringLiteral("\"Формат: 192.168.0.100\""));
    EXPECT_TRUE(form->Connection.Label39->isHidden());
    EXPECT_EQ(form->Connection.Label40->text(), QStringLiteral("\"Значение от 1 до 65535\""));
    EXPECT_TRUE(form->Connection.Label40->isHidden());
    EXPECT_EQ(form->ConnectionParams.GroupBox10->CaptionColor(), QColor(Qt::darkBlue));
    EXPECT_EQ(form->ConnectionParams.GroupBox11->CaptionColor(), QColor(Qt::darkBlue));

    const std::pair<const char*, const char*> captions[] = {
        {"GroupBox1", "Соединение с принтером"},
        {"GroupBox2", "Настройки принтера-1 (набор параметров 2)"},
        {"GroupBox3", "Настройки принтера-2 (набор параметров 2)"},
        {"GroupBox4", "Параметры шрифта (набор параметров 1)"},
        {"GroupBox5", "Позиционирование текста (набор параметров 1)"},
        {"GroupBox6", "Параметры штрих-кода (набор параметров 1)"},
        {"GroupBox7", "Параметры соединения (набор параметров 2)"},
        {"GroupBox8", "Служебная информация"},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(form->findChild<QGroupBox*>(QString::fromLatin1(name))->title(), QString::fromUtf8(caption)) << name;
}

TEST_F(ControlNamesTest, SlidersHaveTheirRangesAndOneStepPages)
{
    const TTrackBar* contrast = form->PrinterSettings1.TrackBar1;
    const TTrackBar* speed = form->PrinterSettings1.TrackBar2;
    EXPECT_EQ(contrast->Min(), 1);
    EXPECT_EQ(contrast->Max(), 100);
    EXPECT_EQ(contrast->Position(), 100);
    EXPECT_EQ(speed->Min(), 18);
    EXPECT_EQ(speed->Max(), 125);
    for (const TTrackBar* slider : {contrast, speed}) {
        EXPECT_EQ(slider->pageStep(), 1);
        EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
    }
}

} // namespace
} // namespace krn310::test
