#include "SessionKeys.h"
