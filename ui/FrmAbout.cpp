#include "ui/FrmAbout.h"
