#include "ui/FrmGuide.h"
