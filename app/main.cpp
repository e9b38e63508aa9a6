// The program's entry point: the toolkit creates the application object and runs it.
#include "app/BrennixApp.h"

wxIMPLEMENT_APP(BrennixApp);
