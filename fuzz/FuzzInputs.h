#pragma once

#include "moduledb/TableReader.h"

#include <QByteArray>
#include <QList>

// The table files of the tables target are framed in one input: for each file one byte
// choosing the table (its value modulo the number of names), a 2-byte little-endian
// length, then that many bytes of content (cut short at the end of the input).
QList<TableFile> framedTableFiles(const uint8_t *data, size_t size);
QByteArray frameTableFiles(const QList<TableFile> &files);
