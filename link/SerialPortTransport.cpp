#include "SerialPortTransport.h"

SerialPortTransport::SerialPortTransport(QObject *parent) : QObject(parent) {}
SerialPortTransport::~SerialPortTransport() = default;
