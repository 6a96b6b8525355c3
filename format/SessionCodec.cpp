#include "SessionCodec.h"
