#include "calc/Calculator.h"
