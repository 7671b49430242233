#include "app/ViewSnapshots.h"

#include "app/Main.h"

#include <QDir>
#include <QPixmap>

#include <stdexcept>

namespace krn310 {

QStringList RenderViews(TForm1& form, const QString& dir)
{
    if (!QDir().mkpath(dir))
        throw std::runtime_error("Cannot create the folder " + dir.toStdString());

    TTreeView* tree = form.Navigation.TreeView1;
    QTreeWidgetItem* before = tree->Selected();
    QStringList written;
    for (int i = 0; i < tree->Count(); ++i) {
        tree->SetSelected(tree->Item(i));
        form.ShowSelectedView();
        const int viewNumber = TForm1::ViewNumberOf(tree->Item(i));
        const QString file =
            QDir(dir).filePath(QStringLiteral("%1-%2.png").arg(i).arg(form.ViewFor(viewNumber)->objectName()));
        if (!form.grab().save(file, "PNG"))
            throw std::runtime_error("Cannot write " + file.toStdString());
        written << file;
    }
    tree->SetSelected(before);
    form.ShowSelectedView();
    return written;
}

} // namespace krn310
