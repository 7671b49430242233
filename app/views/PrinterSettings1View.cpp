#include "app/views/PrinterSettings1View.h"

#include "app/views/ViewBuilder.h"

namespace krn310 {

namespace {

constexpr int kSliderPanelWidth = 273;
constexpr int kSliderPanelHeight = 32;
constexpr int kSwitchWidth = 273;

// A lowered panel holding a slider that fills its client area, one pixel in.
TTrackBar* PlaceSlider(QWidget* parent, const char* panelName, const char* sliderName, int left, int top, int min,
                       int max, int position, TPanel** panel)
{
    *panel = new TPanel(TPanel::Bevel::Lowered, parent);
    (*panel)->setObjectName(QString::fromLatin1(panelName));
    (*panel)->setGeometry(left, top, kSliderPanelWidth, kSliderPanelHeight);
    auto* slider = new TTrackBar(*panel);
    slider->setObjectName(QString::fromLatin1(sliderName));
    slider->setGeometry((*panel)->contentsRect());
    slider->SetMin(min);
    slider->SetMax(max);
    slider->SetPosition(position);
    return slider;
}

TCheckBox* PlaceSwitch(QWidget* parent, const char* name, int top, const QString& caption, bool checked)
{
    TCheckBox* box = PlaceCheckBox(parent, name, 24, top, kSwitchWidth, caption, checked);
    box->SetCaptionOnLeft(true);
    return box;
}

} // namespace

PrinterSettings1View BuildPrinterSettings1View(QWidget* form)
{
    PrinterSettings1View v;
    v.GroupBox2 = PlaceView(form, "GroupBox2", "Настройки принтера-1 (набор параметров 2)", kViewHeight);
    v.GroupBox2->setEnabled(false);
    QWidget* box = v.GroupBox2;

    v.Label10 = PlaceLabel(box, "Label10", 112, 24, "Контраст печати");
    v.Label11 = PlaceLabel(box, "Label11", 16, 24, "min");
    v.Label26 = PlaceLabel(box, "Label26", 288, 24, "max");
    v.TrackBar1 = PlaceSlider(box, "Panel1", "TrackBar1", 24, 48, 1, 100, 100, &v.Panel1);
    v.TrackBar1->SetSelEnd(v.TrackBar1->Position());

    v.Label32 = PlaceLabel(box, "Label32", 80, 83, "Максимальная скорость печати");
    v.Label33 = PlaceLabel(box, "Label33", 12, 105, "min");
    v.Label34 = PlaceLabel(box, "Label34", 296, 105, "max");
    v.Label41 = PlaceLabel(box, "Label41", 133, 103, "max");
    v.Label41->hide();
    v.TrackBar2 = PlaceSlider(box, "Panel3", "TrackBar2", 27, 118, 18, 125, 125, &v.Panel3);

    v.CheckBox4 = PlaceSwitch(box, "CheckBox4", 150, "Передача сообщения при включении питания", false);
    v.CheckBox4->setEnabled(false);
    v.CheckBox5 = PlaceSwitch(box, "CheckBox5", 166, "Включение/выключение автообрезчика", true);
    v.CheckBox6 = PlaceSwitch(box, "CheckBox6", 182, "Автоматический перевод строки", true);
    v.CheckBox7 = PlaceSwitch(box, "CheckBox7", 198, "Не использовать предзагрузку в буфер", true);
    v.CheckBox8 = PlaceSwitch(box, "CheckBox8", 214, "Отключить датчик близкого конца бумаги", true);
    return v;
}

} // namespace krn310
