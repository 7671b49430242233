#include "app/views/NavigationControls.h"

#include "app/controls/Look.h"
#include "platform/StringTable.h"

namespace krn310 {

NavigationControls BuildNavigationControls(QWidget* form, const TImageList& images)
{
    NavigationControls v;
    v.TreeView1 = new TTreeView(form);
    v.TreeView1->setObjectName(QStringLiteral("TreeView1"));
    v.TreeView1->setGeometry(8, 16, 185, 313);
    v.TreeView1->setFont(TreeFont());
    QPalette colours = v.TreeView1->palette();
    colours.setColor(QPalette::Base, InactiveCaptionColor());
    v.TreeView1->setPalette(colours);
    for (int i = 0; i < 8; ++i) {
        auto* node = new QTreeWidgetItem(v.TreeView1);
        node->setText(0, QString::fromStdString(LoadStr(IDS_NODE_CONNECTION + i)));
        node->setData(0, kViewNumberRole, kNodeViewNumbers[i]);
    }

    v.Panel4 = new TPanel(TPanel::Bevel::Raised, form);
    v.Panel4->setObjectName(QStringLiteral("Panel4"));
    v.Panel4->setGeometry(8, 339, 184, 30);

    v.HeaderControl1 = new THeaderControl(v.Panel4);
    v.HeaderControl1->setObjectName(QStringLiteral("HeaderControl1"));
    v.HeaderControl1->setGeometry(v.Panel4->contentsRect());
    v.HeaderControl1->SetImages(&images);
    v.HeaderControl1->AddSection("Установить Соединение", 0, 182);
    return v;
}

} // namespace krn310
