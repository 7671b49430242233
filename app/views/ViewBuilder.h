#pragma once

#include "app/controls/TCheckBox.h"
#include "app/controls/TComboBox.h"
#include "app/controls/TEdit.h"
#include "app/controls/TGroupBox.h"

#include <QLabel>
#include <QStringList>

namespace krn310 {

// Helpers that put a design control at its absolute place with its design
// value. Heights are the toolkit's usual ones at 8 pt: edits and lists 21,
// check boxes 17, labels as high as their text.
inline constexpr int kEditHeight = 21;
inline constexpr int kListHeight = 21;
inline constexpr int kCheckBoxHeight = 17;

// Every view stands at 200, 16 when shown, 321 wide.
inline constexpr int kViewLeft = 200;
inline constexpr int kViewTop = 16;
inline constexpr int kViewWidth = 321;
inline constexpr int kTallViewHeight = 353;
inline constexpr int kViewHeight = 265;

struct EditLimits {
    int maxLength = 32767;
    bool digitsOnly = false;
    bool readOnly = false;
};

// A view: hidden, at the view place, in the views' font.
TGroupBox* PlaceView(QWidget* form, const char* name, const QString& caption, int height);

TGroupBox* PlaceGroupBox(QWidget* parent, const char* name, const QString& caption, QRect geometry);

// A label as wide as its text, or of the given width.
QLabel* PlaceLabel(QWidget* parent, const char* name, int left, int top, const QString& caption, int width = -1);

TComboBox* PlaceList(QWidget* parent, const char* name, int left, int top, int width, const QStringList& items,
                     int itemIndex);

TEdit* PlaceEdit(QWidget* parent, const char* name, int left, int top, int width, const QString& text,
                 EditLimits limits = {});

TCheckBox* PlaceCheckBox(QWidget* parent, const char* name, int left, int top, int width, const QString& caption,
                         bool checked);

// The lists shared by several views, in their design order.
QStringList BaudRateItems();
QStringList DataBitsItems();
QStringList ParityItems();
QStringList FlowControlItems();
QStringList CharacterSizeItems();

} // namespace krn310
