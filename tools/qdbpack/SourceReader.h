#pragma once

#include "ModuleSource.h"

#include <QByteArray>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// Reads a module source: module.json, then the question files in file-name order. Derived
// values left out are computed once everything is read; values given are kept as they stand
// so that validation can compare them. Every problem is collected as a message that names
// the file and the field.
class SourceReader
{
public:
    void readModule(const QByteArray &json);
    // fileName as shown in messages, relative to the source folder ("questions/00-a.json").
    void readQuestions(const QString &fileName, const QByteArray &json);
    void addTextEntry(const QString &name, const QByteArray &content);
    ModuleSource finish();

    // The text entries module.json names, to be read from the source folder.
    const QStringList &textEntryNames() const { return m_textEntryNames; }
    const QStringList &errors() const { return m_errors; }

private:
    void readInfo(const QJsonValue &value);
    void readArchive(const QJsonValue &value);
    void readTables(const QJsonValue &objectives, const QJsonValue &prompts,
                    const QJsonValue &questionTypes);
    void readQuestion(const QString &fileName, const QJsonValue &value);

    ModuleSource m_source;
    QStringList m_textEntryNames;
    std::optional<int> m_givenTotalQuestions;
    std::optional<int> m_givenNumObjectives;
    QList<std::optional<int>> m_givenQuestionCounts;
    QStringList m_errors;
};

// Reads a source held in memory: paths relative to the source folder ("module.json",
// "questions/00-a.json", "readme.txt"; "files/x.png" only for its name; "diagrams/x.json",
// the drawing the build makes x.png of) mapped to contents. Question files are read in
// path order. Without validation; nullopt with the messages in
// errors when the files cannot be parsed.
std::optional<ModuleSource> readSourceFiles(const QMap<QString, QByteArray> &files,
                                            QStringList *errors);

// Reads the source folder, without validating it; nullopt with the messages in errors when
// the files cannot be read or parsed.
std::optional<ModuleSource> readModuleFolder(const QString &folder, QStringList *errors);
