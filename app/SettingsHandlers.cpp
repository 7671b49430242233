// The settings views' own behaviour: the speed slider's limit and label, the
// MAC key filter, and bringing a rejected set 1 field forward.

#include "app/Main.h"

#include "app/SettingsBinding.h"
#include "platform/MessageBox.h"
#include "platform/StringTable.h"
#include "settings/MacKeyFilter.h"
#include "settings/SpeedSlider.h"

namespace krn310 {

void TForm1::ComboBox14Change()
{
    Set2PrinterView view = ReadSet2PrinterView(*this);
    krn310::ComboBox14Change(view.ComboBox14, InterfaceType(), view.TrackBar2, view.Label41);
    WriteSet2PrinterView(*this, view);
}

void TForm1::TrackBar2Change()
{
    Set2PrinterView view = ReadSet2PrinterView(*this);
    krn310::TrackBar2Change(view.TrackBar2, view.Label41);
    WriteSet2PrinterView(*this, view);
}

void TForm1::Edit10KeyPress(char16_t& key)
{
    if (!krn310::Edit10KeyPress(static_cast<char32_t>(key)))
        key = 0;
}

void TForm1::ShowRejectedField(const FieldRejection& rejection)
{
    TTreeView* tree = Navigation.TreeView1;
    tree->SetSelected(tree->Item(rejection.TreeNode));
    ShowSelectedView();
    ShowMessageBox(LoadStr(rejection.MessageId), {}, MessageBoxKind::Error);
    if (auto* field = findChild<QWidget*>(QString::fromStdString(rejection.Field)))
        field->setFocus();
}

} // namespace krn310
