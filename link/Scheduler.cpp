#include "Scheduler.h"

Scheduler::~Scheduler() = default;
