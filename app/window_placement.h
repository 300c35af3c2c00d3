// An editor window in the multiple-document area and its window description: the description's
// place, size and state are applied when the window opens, and follow the window while the user
// moves, resizes, minimises or maximises it, so that a saved sound reopens its windows as they
// were left.
#pragma once

class QMdiSubWindow;
class TFenster;

// `description` must outlive `frame`.
void PlaceByDescription(QMdiSubWindow& frame, TFenster& description);
