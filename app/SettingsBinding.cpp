#include "app/SettingsBinding.h"

#include "app/Main.h"

namespace krn310 {

namespace {

std::string Text(const TEdit* edit)
{
    return edit->text().toStdString();
}

void SetText(TEdit* edit, const std::string& text)
{
    edit->setText(QString::fromStdString(text));
}

ListControl ReadList(const TComboBox* list)
{
    ListControl out;
    for (const QString& item : list->Items())
        out.items.push_back(item.toStdString());
    out.itemIndex = list->ItemIndex();
    return out;
}

void WriteList(TComboBox* list, const ListControl& in)
{
    QStringList items;
    for (const std::string& item : in.items)
        items.push_back(QString::fromStdString(item));
    if (items != list->Items())
        list->SetItems(items);
    list->SetItemIndex(in.itemIndex);
}

} // namespace

Set1View ReadSet1View(const TForm1& form)
{
    Set1View v;
    v.Edit7 = Text(form.FontParams.Edit7);
    v.ComboBox12 = form.FontParams.ComboBox12->ItemIndex();
    v.ComboBox7 = form.FontParams.ComboBox7->ItemIndex();
    v.ComboBox8 = form.FontParams.ComboBox8->ItemIndex();
    v.CheckBox1 = form.FontParams.CheckBox1->Checked();
    v.CheckBox2 = form.FontParams.CheckBox2->Checked();
    v.CheckBox3 = form.FontParams.CheckBox3->Checked();
    v.Edit6 = Text(form.Positioning.Edit6);
    v.ComboBox9 = form.Positioning.ComboBox9->ItemIndex();
    v.Edit1 = Text(form.Positioning.Edit1);
    v.Edit2 = Text(form.Positioning.Edit2);
    v.ComboBox13 = form.Positioning.ComboBox13->ItemIndex();
    v.Edit3 = Text(form.Positioning.Edit3);
    v.ComboBox10 = form.Barcode.ComboBox10->ItemIndex();
    v.ComboBox11 = form.Barcode.ComboBox11->ItemIndex();
    v.Edit4 = Text(form.Barcode.Edit4);
    v.Edit5 = Text(form.Barcode.Edit5);
    return v;
}

void WriteSet1View(TForm1& form, const Set1View& v)
{
    SetText(form.FontParams.Edit7, v.Edit7);
    form.FontParams.ComboBox12->SetItemIndex(v.ComboBox12);
    form.FontParams.ComboBox7->SetItemIndex(v.ComboBox7);
    form.FontParams.ComboBox8->SetItemIndex(v.ComboBox8);
    form.FontParams.CheckBox1->SetChecked(v.CheckBox1);
    form.FontParams.CheckBox2->SetChecked(v.CheckBox2);
    form.FontParams.CheckBox3->SetChecked(v.CheckBox3);
    SetText(form.Positioning.Edit6, v.Edit6);
    form.Positioning.ComboBox9->SetItemIndex(v.ComboBox9);
    SetText(form.Positioning.Edit1, v.Edit1);
    SetText(form.Positioning.Edit2, v.Edit2);
    form.Positioning.ComboBox13->SetItemIndex(v.ComboBox13);
    SetText(form.Positioning.Edit3, v.Edit3);
    form.Barcode.ComboBox10->SetItemIndex(v.ComboBox10);
    form.Barcode.ComboBox11->SetItemIndex(v.ComboBox11);
    SetText(form.Barcode.Edit4, v.Edit4);
    SetText(form.Barcode.Edit5, v.Edit5);
}

Set2PrinterView ReadSet2PrinterView(const TForm1& form)
{
    const PrinterSettings1View& p = form.PrinterSettings1;
    Set2PrinterView v;
    v.ComboBox14 = form.ConnectionParams.ComboBox14->ItemIndex();
    v.ComboBox17 = form.ConnectionParams.ComboBox17->ItemIndex();
    v.TrackBar1 = p.TrackBar1->Position();
    v.CheckBox4 = p.CheckBox4->Checked();
    v.CheckBox5 = p.CheckBox5->Checked();
    v.CheckBox6 = p.CheckBox6->Checked();
    v.CheckBox7 = p.CheckBox7->Checked();
    v.CheckBox8 = p.CheckBox8->Checked();
    v.CheckBox9 = form.PrinterSettings2.CheckBox9->Checked();
    v.RadioGroup1 = form.PrinterSettings2.RadioGroup1->ItemIndex();
    v.TrackBar2.Min = p.TrackBar2->Min();
    v.TrackBar2.Max = p.TrackBar2->Max();
    v.TrackBar2.Position = p.TrackBar2->Position();
    v.TrackBar2.SelEnd = p.TrackBar2->SelEnd();
    v.TrackBar2.Left = p.TrackBar2->x();
    v.Label41.Text = p.Label41->text().toStdString();
    v.Label41.Left = p.Label41->x();
    return v;
}

void WriteSet2PrinterView(TForm1& form, const Set2PrinterView& v)
{
    PrinterSettings1View& p = form.PrinterSettings1;
    form.ConnectionParams.ComboBox14->SetItemIndex(v.ComboBox14);
    form.ConnectionParams.ComboBox17->SetItemIndex(v.ComboBox17);
    p.TrackBar1->SetPosition(v.TrackBar1);
    p.CheckBox4->SetChecked(v.CheckBox4);
    p.CheckBox5->SetChecked(v.CheckBox5);
    p.CheckBox6->SetChecked(v.CheckBox6);
    p.CheckBox7->SetChecked(v.CheckBox7);
    p.CheckBox8->SetChecked(v.CheckBox8);
    form.PrinterSettings2.CheckBox9->SetChecked(v.CheckBox9);
    form.PrinterSettings2.RadioGroup1->SetItemIndex(v.RadioGroup1);
    // The slider's own change handler would recompute the label from a half
    // written state: the record already holds the label that goes with it.
    auto onChange = std::move(p.TrackBar2->OnChange);
    p.TrackBar2->OnChange = nullptr;
    p.TrackBar2->SetMin(v.TrackBar2.Min);
    p.TrackBar2->SetMax(v.TrackBar2.Max);
    p.TrackBar2->SetPosition(v.TrackBar2.Position);
    p.TrackBar2->SetSelEnd(v.TrackBar2.SelEnd);
    p.TrackBar2->OnChange = std::move(onChange);
    p.Label41->setText(QString::fromStdString(v.Label41.Text));
    p.Label41->adjustSize();
    p.Label41->move(v.Label41.Left, p.Label41->y());
}

Set2NetworkView ReadSet2NetworkView(const TForm1& form)
{
    const ConnectionParamsView& c = form.ConnectionParams;
    Set2NetworkView v;
    v.Edit10 = Text(c.Edit10);
    v.Edit24 = Text(c.Edit24);
    v.Edit25 = Text(c.Edit25);
    v.Edit26 = Text(c.Edit26);
    v.Edit27 = Text(c.Edit27);
    v.Edit28 = Text(c.Edit28);
    v.Edit11 = Text(c.Edit11);
    v.Edit12 = Text(c.Edit12);
    v.Edit13 = Text(c.Edit13);
    v.Edit14 = Text(c.Edit14);
    v.Edit15 = Text(c.Edit15);
    v.Edit16 = Text(c.Edit16);
    v.Edit17 = Text(c.Edit17);
    v.Edit18 = Text(c.Edit18);
    v.Edit19 = Text(c.Edit19);
    v.Edit20 = Text(c.Edit20);
    v.Edit21 = Text(c.Edit21);
    v.Edit22 = Text(c.Edit22);
    v.Edit23 = Text(c.Edit23);
    return v;
}

void WriteSet2NetworkView(TForm1& form, const Set2NetworkView& v)
{
    ConnectionParamsView& c = form.ConnectionParams;
    SetText(c.Edit10, v.Edit10);
    SetText(c.Edit24, v.Edit24);
    SetText(c.Edit25, v.Edit25);
    SetText(c.Edit26, v.Edit26);
    SetText(c.Edit27, v.Edit27);
    SetText(c.Edit28, v.Edit28);
    SetText(c.Edit11, v.Edit11);
    SetText(c.Edit12, v.Edit12);
    SetText(c.Edit13, v.Edit13);
    SetText(c.Edit14, v.Edit14);
    SetText(c.Edit15, v.Edit15);
    SetText(c.Edit16, v.Edit16);
    SetText(c.Edit17, v.Edit17);
    SetText(c.Edit18, v.Edit18);
    SetText(c.Edit19, v.Edit19);
    SetText(c.Edit20, v.Edit20);
    SetText(c.Edit21, v.Edit21);
    SetText(c.Edit22, v.Edit22);
    SetText(c.Edit23, v.Edit23);
}

ConnectionControls ReadConnectionControls(const TForm1& form)
{
    ConnectionControls c;
    c.ComboBox1 = ReadList(form.Connection.ComboBox1);
    c.ComboBox2 = ReadList(form.Connection.ComboBox2);
    c.ComboBox3 = ReadList(form.Connection.ComboBox3);
    c.Edit8 = Text(form.Connection.Edit8);
    c.Edit9 = Text(form.Connection.Edit9);
    return c;
}

void WriteConnectionControls(TForm1& form, const ConnectionControls& c)
{
    WriteList(form.Connection.ComboBox1, c.ComboBox1);
    WriteList(form.Connection.ComboBox2, c.ComboBox2);
    WriteList(form.Connection.ComboBox3, c.ComboBox3);
    SetText(form.Connection.Edit8, c.Edit8);
    SetText(form.Connection.Edit9, c.Edit9);
}

} // namespace krn310
