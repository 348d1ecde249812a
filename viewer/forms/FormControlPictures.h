#pragma once
// Pictures of a document's form controls, for renderings that have no
// windowed controls to show (quillet-render, the golden pictures): each
// control the last paint placed is drawn in its place, as a classic desktop
// draws it, at the size its in-memory control has (frames and scroll bars
// as viewer/forms/ScriptedFormWidgets.h gives them).
#include "platform/Canvas.h"

namespace quillet {

class DocumentForms;
class TFormControlObj;

// The controls marked Shown, at their bounds on the paint panel; canvas
// coordinates are the panel's.
void PaintFormControls(const DocumentForms& forms, Canvas& canvas);
// One control within its bounds, whether placed or not.
void PaintFormControl(const TFormControlObj& control, Canvas& canvas);

}  // namespace quillet
