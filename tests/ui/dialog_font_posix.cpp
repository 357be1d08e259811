// Fontconfig has IPA P Gothic (the package's dependency).
#include "ui/ui_fixture.h"

bool uitest::LoadDialogFont() { return true; }
