#pragma once
// Whole texts for cells that a list's column cuts off: the columns keep the
// widths they were given, and a cell whose text does not fit ("Accelerator
// P...") shows the whole text as its tooltip. A cell shown whole has none.

class QAbstractItemView;

namespace tavo {

// Gives `view` a delegate that draws as the standard one and answers tooltip
// requests over cut-off cells.
void showCutTextAsTips(QAbstractItemView& view);

}  // namespace tavo
