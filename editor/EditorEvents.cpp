#include "EditorEvents.h"

EditorEvents::EditorEvents(QObject *parent) : QObject(parent) {}
