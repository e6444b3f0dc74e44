#include "ui/cmdAbout.h"

// Nothing to open until the About window exists.
void cmdAbout_Click() {}
