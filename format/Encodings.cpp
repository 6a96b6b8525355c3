#include "Encodings.h"
