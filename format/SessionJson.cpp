#include "SessionJson.h"
