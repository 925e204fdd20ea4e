#include "FuzzInputs.h"

#include <array>

namespace {
// The eight tables, a name that is no table, and a name without "_" or ".".
const std::array<QString, 10> entryNames = {
    QStringLiteral("qm_info.dat"),     QStringLiteral("qm_objective.dat"),
    QStringLiteral("qm_prompt.dat"),   QStringLiteral("qm_questiontype.dat"),
    QStringLiteral("qm_question.dat"), QStringLiteral("qm_mcfri.dat"),
    QStringLiteral("qm_dnd.dat"),      QStringLiteral("qm_simulation.dat"),
    QStringLiteral("readme.txt"),      QStringLiteral("question"),
};

int nameIndex(const QString &name)
{
    for (std::size_t i = 0; i < entryNames.size(); ++i) {
        if (tableNameOf(entryNames[i]) == tableNameOf(name))
            return int(i);
    }
    return 8;
}
} // namespace

QList<TableFile> framedTableFiles(const uint8_t *data, size_t size)
{
    QList<TableFile> files;
    size_t position = 0;
    while (position + 3 <= size) {
        const QString &name = entryNames[data[position] % entryNames.size()];
        const size_t length = size_t(data[position + 1]) | size_t(data[position + 2]) << 8;
        position += 3;
        const size_t available = std::min(length, size - position);
        files.append({name, QByteArray(reinterpret_cast<const char *>(data + position),
                                       qsizetype(available))});
        position += available;
    }
    return files;
}

QByteArray frameTableFiles(const QList<TableFile> &files)
{
    QByteArray framed;
    for (const TableFile &file : files) {
        const QByteArray content = file.content.left(0xFFFF);
        framed.append(char(nameIndex(file.name)));
        framed.append(char(content.size() & 0xFF));
        framed.append(char(content.size() >> 8));
        framed.append(content);
    }
    return framed;
}
