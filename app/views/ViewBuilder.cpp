#include "app/views/ViewBuilder.h"

#include "app/controls/Look.h"

namespace krn310 {

TGroupBox* PlaceView(QWidget* form, const char* name, const QString& caption, int height)
{
    TGroupBox* view = PlaceGroupBox(form, name, caption, QRect(kViewLeft, kViewTop, kViewWidth, height));
    view->setFont(ViewFont());
    view->hide();
    return view;
}

TGroupBox* PlaceGroupBox(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* box = new TGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

QLabel* PlaceLabel(QWidget* parent, const char* name, int left, int top, const QString& caption, int width)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    const QSize fit = label->sizeHint();
    label->setGeometry(left, top, width < 0 ? fit.width() : width, fit.height());
    return label;
}

TComboBox* PlaceList(QWidget* parent, const char* name, int left, int top, int width, const QStringList& items,
                     int itemIndex)
{
    auto* list = new TComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->SetItems(items);
    list->SetItemIndex(itemIndex);
    list->setGeometry(left, top, width, kListHeight);
    return list;
}

TEdit* PlaceEdit(QWidget* parent, const char* name, int left, int top, int width, const QString& text,
                 EditLimits limits)
{
    auto* edit = new TEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->SetMaxLength(limits.maxLength);
    edit->SetDigitsOnly(limits.digitsOnly);
    edit->setReadOnly(limits.readOnly);
    edit->setText(text);
    edit->setGeometry(left, top, width, kEditHeight);
    return edit;
}

TCheckBox* PlaceCheckBox(QWidget* parent, const char* name, int left, int top, int width, const QString& caption,
                         bool checked)
{
    auto* box = new TCheckBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setText(caption);
    box->SetChecked(checked);
    box->setGeometry(left, top, width, kCheckBoxHeight);
    return box;
}

QStringList BaudRateItems()
{
    return {"115200", "57600", "38400", "28800", "19200", "14400", "9600", "4800", "2400", "1200", "600"};
}

QStringList DataBitsItems()
{
    return {"7 bits", "8 bits"};
}

QStringList ParityItems()
{
    return {"None", "Odd", "Even"};
}

QStringList FlowControlItems()
{
    return {"None", "RTS/CTS", "Xon/Xoff"};
}

QStringList CharacterSizeItems()
{
    return {"Normal", "Double", "x3", "x4", "x5", "x6", "x7", "x8"};
}

} // namespace krn310
