#include "SessionWriter.h"
