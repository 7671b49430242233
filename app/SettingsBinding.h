#pragma once

#include "config/ConnectionControls.h"
#include "settings/Set1Block.h"
#include "settings/Set2NetworkBlock.h"
#include "settings/Set2PrinterBlock.h"

namespace krn310 {

class TForm1;

// The settings codecs and the configuration file work on plain records of
// what the views hold; these copy such records to and from the widgets.

Set1View ReadSet1View(const TForm1& form);
void WriteSet1View(TForm1& form, const Set1View& view);

Set2PrinterView ReadSet2PrinterView(const TForm1& form);
void WriteSet2PrinterView(TForm1& form, const Set2PrinterView& view);

Set2NetworkView ReadSet2NetworkView(const TForm1& form);
void WriteSet2NetworkView(TForm1& form, const Set2NetworkView& view);

ConnectionControls ReadConnectionControls(const TForm1& form);
void WriteConnectionControls(TForm1& form, const ConnectionControls& controls);

} // namespace krn310
