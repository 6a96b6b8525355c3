#include "SessionReader.h"
