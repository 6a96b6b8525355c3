#pragma once

// Firmware for tests: an image that passes the checks, and a stand-in flashing tool.

#include "TestFiles.h"

// A stack pointer in SRAM and an odd reset address: the start of a Cortex-M program.
inline QByteArray firmwareImage()
{
    return QByteArray::fromHex("0080002001210000") + QByteArray(56, '\x5a');
}

// Writes a stand-in flashing tool at `path`: it writes its arguments to args.txt beside itself
// and prints what the real tool prints on success; then it never ends for an image hang.bin
// and fails with a verify error for an image bad.bin.
inline void writeFlashTool(const QString &path)
{
    EXPECT_TRUE(writeFile(path, R"SH(#!/bin/sh
for a in "$@"; do printf '%s\n' "$a"; done > "${0%/*}/args.txt"
printf 'Erase flash\n[====      ] 40%%\r[==========] 100%%\nWrite 23456 bytes to flash (92 pages)\n'
case "$*" in
*/hang.bin*) exec /bin/sleep 600 ;;
*/bad.bin*) echo "Verify failed"; exit 1 ;;
esac
)SH") && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}
