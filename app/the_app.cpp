// The program's one application object.
#include "app/countdown_app.h"

CCountdownApp theApp;
