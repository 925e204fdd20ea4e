#include "ErrorReportBox.h"
#include "FakeMessageBoxes.h"
#include "TestPaths.h"
#include "app/AppContext.h"
#include "app/StartUp.h"
#include "moduledb/ModulePreload.h"
#include "moduledb/Unpack.h"
#include "moduledb/writer/ModuleWriter.h"
#include "tests/moduledb/SampleModule.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The real start-up on a scratch program folder whose module is the small sample module,
// most often with one precise change. A damaged module must end start-up with its one
// message and leave every file as it was: nothing written outside the program folder, no
// table file left in the module folder, the archive unchanged. One row per kind of damage;
// the reader's own tests go through the variants of each.

namespace {

// The entries of the good module, in archive order.
enum EntryIndex { InfoEntry, PromptEntry = 2 };

const QStringList textFiles = {u"eula.txt"_s, u"readme.txt"_s};

QList<ArchiveEntry> goodEntries(const QuestionBank &bank = sampleBank())
{
    QList<ArchiveEntry> entries = bankEntries(bank);
    entries.append(ArchiveEntry{"readme.txt", "Read me first."});
    entries.append(ArchiveEntry{"eula.txt", "Terms of use."});
    return entries;
}

QByteArray pack(const QList<ArchiveEntry> &entries)
{
    return packArchive(entries, {"QUENDRA", "Quendra test module", "512-330"});
}

QByteArray withEntries(const std::function<void(QList<ArchiveEntry> &)> &change)
{
    QList<ArchiveEntry> entries = goodEntries();
    change(entries);
    return pack(entries);
}

QByteArray withName(EntryIndex index, const QByteArray &name)
{
    return withEntries([&](QList<ArchiveEntry> &entries) { entries[index].name = name; });
}

const QByteArray &goodArchive()
{
    static const QByteArray bytes = pack(goodEntries());
    return bytes;
}

QByteArray withEntryCount(int count)
{
    QByteArray bytes = goodArchive();
    qToLittleEndian(qint16(count), bytes.data());
    return bytes;
}

// The good archive with one more entry at its end: five blocks of 64 MB of zeros each.
QByteArray bombArchive()
{
    const QByteArray stream = qCompress(QByteArray(maxBlockBytes, '\0')).mid(4);
    QByteArray block(8, '\0');
    qToLittleEndian(qint32(stream.size() - 1), block.data());
    qToLittleEndian(maxBlockBytes, block.data() + 4);
    const QByteArray name = "qm_x.dat";
    return withEntryCount(int(goodEntries().size()) + 1) + char(name.size()) + name +
           QByteArray(reservedBytes, '\0') + (block + stream).repeated(5) + QByteArray(4, '\0');
}

const QString archiveName = u"512-330.qdb"_s;
// A picture that lives in the module folder beside the archive, as question pictures do.
const QString pictureName = u"diagram-1.png"_s;

} // namespace

class TestDamagedModules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        QFile::setPermissions(moduleFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(programFolder()).removeRecursively();
        QDir(m_parent.filePath(u"user"_s)).removeRecursively();
    }

    void moduleAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<qint64>("paddedSize");
        QTest::addColumn<bool>("moduleFolderWritable");
        QTest::addColumn<QList<MessageBoxRequest>>("boxes");
        QTest::addColumn<QStringList>("programFiles");

        // Damage found while unpacking writes no file at all.
        const MessageBoxRequest cannotRead{errorReportTitle, cannotReadDatabaseText(),
                                           MessageIcon::Critical, MessageButtons::Ok};
        auto unpackFails = [](const char *name, const QByteArray &archive,
                              const MessageBoxRequest &box, qint64 paddedSize = 0) {
            QTest::newRow(name) << archive << paddedSize << true << QList{box} << QStringList();
        };
        // Damage found while loading: the text entries have been written where they belong.
        auto loadFails =
            [](const char *name, const QByteArray &archive, const QString &description) {
                QTest::newRow(name)
                    << archive << qint64(0) << true
                    << QList{errorReportBox({description, 0, u"Procedure Name: LoadTest"_s})}
                    << textFiles;
            };
        const QByteArray good = goodArchive();

        // The system's own description of the error, in the language it speaks.
        unpackFails("missing", QByteArray(),
                    errorReportBox({QString::fromLocal8Bit(std::strerror(ENOENT)), ENOENT,
                                    u"Function Name: UnpackTest"_s}));
        unpackFails(
            "empty", QByteArray(""),
            errorReportBox({u"Test database not found."_s, 0, u"Function Name: UnpackTest"_s}));
        unpackFails("cut short", good.first(good.size() / 2), cannotRead);
        // The last bytes before the end marker are the checksum of the last block.
        QByteArray badChecksum = good;
        badChecksum[good.size() - 5] = char(badChecksum[good.size() - 5] ^ 0x10);
        unpackFails("block that does not inflate", badChecksum, cannotRead);
        unpackFails("inflates beyond any module", bombArchive(), cannotRead);
        unpackFails("larger than any module", good, cannotRead, qint64(300) * 1024 * 1024);
        unpackFails("entry name leaving the module folder",
                    withName(PromptEntry, "../../escaped.dat"), cannotRead);
        unpackFails("entry that would replace the archive", withName(PromptEntry, "512-330.QDB"),
                    cannotRead);

        loadFails("table that does not parse", withEntries([](QList<ArchiveEntry> &entries) {
                      entries[InfoEntry].content.clear();
                  }),
                  u"The info table holds no complete header."_s);
        QuestionBank refused = sampleBank();
        refused.questions[4].objectiveNo = 3;
        loadFails("bank the check refuses", pack(goodEntries(refused)),
                  u"Question 4 refers to objective 3, but the module has 2 objectives."_s);

        const QList<MessageBoxRequest> none;
        QTest::newRow("the good module") << good << qint64(0) << true << none << textFiles;
        // An installed copy: the tables go to the user's own folder and are gone afterwards.
        QTest::newRow("module folder that cannot be written")
            << good << qint64(0) << false << none << textFiles;
        QTest::newRow("entry count below the entries, eula.txt last")
            << withEntryCount(9) << qint64(0) << true << none << textFiles.mid(1);
    }

    void moduleAtStartUp()
    {
        QFETCH(QByteArray, archive);
        QFETCH(qint64, paddedSize);
        QFETCH(bool, moduleFolderWritable);
        QFETCH(QList<MessageBoxRequest>, boxes);
        QFETCH(QStringList, programFiles);
        if (!moduleFolderWritable && geteuid() == 0)
            QSKIP("Root writes into a folder without write permission all the same.");

        // Read at its step, and read ahead as the program does: the same outcome.
        for (const bool readingAhead : {false, true}) {
            cleanup();
            writeProgramFolder(archive, paddedSize);
            if (!moduleFolderWritable)
                QVERIFY(QFile::setPermissions(moduleFolder(), QFile::ReadOwner | QFile::ExeOwner));
            FakeMessageBoxes fake;
            AppContext context;
            QCOMPARE(startUp(readingAhead, context), boxes.isEmpty() ? 0 : StartUp::failedExitCode);
            QCOMPARE(fake.shown, boxes);
            if (boxes.isEmpty())
                QCOMPARE(context.bank.questions.size(), sampleBank().questions.size());
            verifyFilesAfterwards(programFiles);
        }
    }

    // The program itself, on a copy of the sample module. Measuring start-up, it ends by itself
    // once its start screen has been painted.
    void theBuiltProgramReachesItsStartScreenAndEnds()
    {
        if (buildDir().isEmpty())
            QSKIP("QUENDRA_BUILD_DIR names no build folder; ctest sets it.");
        QFile module(buildDir() + u"/Module/"_s + archiveName);
        QVERIFY2(module.open(QIODevice::ReadOnly), qPrintable(module.fileName()));
        writeProgramFolder(module.readAll());
        const QString program = programFolder() + u"/quexam"_s;
        QVERIFY(QFile::copy(buildDir() + u"/quexam"_s, program));

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"LC_ALL"_s, u"C"_s);
        environment.insert(u"QUENDRA_INSTANCE_LOCK"_s, m_lockFolder.filePath(u"program.lock"_s));
        process.setProcessEnvironment(environment);
        process.start(program, {u"--measure-startup"_s});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().startsWith("shown "));
        verifyFilesAfterwards({u"eula.txt"_s, u"quexam"_s, u"readme.txt"_s});
    }

private:
    QString programFolder() const { return m_parent.filePath(u"program"_s); }
    QString moduleFolder() const { return programFolder() + u"/Module"_s; }

    // A null archive leaves the module folder without one.
    void writeProgramFolder(const QByteArray &archive, qint64 paddedSize = 0)
    {
        m_archive = {};
        QVERIFY(QDir().mkpath(moduleFolder()));
        QFile picture(moduleFolder() + u'/' + pictureName);
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write("a picture of a network");
        if (archive.isNull())
            return;
        QFile file(moduleFolder() + u'/' + archiveName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(archive), archive.size());
        // Zeros after the module, without writing them (the file stays sparse).
        if (paddedSize > archive.size())
            QVERIFY(file.resize(paddedSize));
        file.close();
        m_archive = stampOf(file.fileName());
    }

    // Starts up on the program folder with the real module reader, on a screen that passes,
    // reading the module at its step or, as the program does, ahead; gives the exit code (0
    // when start-up went through).
    int startUp(bool readingAhead, AppContext &context) const
    {
        std::optional<ModulePreload> readAhead;
        if (readingAhead)
            readAhead.emplace(testDbPathOf(programFolder()));
        StartUpSettings settings;
        settings.programFolder = programFolder();
        settings.instanceLockPath = m_lockFolder.filePath(u"quendra.lock"_s);
        settings.screen = [](const QWidget *) { return ScreenInfo{1024, 768, 24}; };
        settings.userFolder = m_parent.filePath(u"user"_s);
        settings.module = moduleReaderSteps(readAhead ? &*readAhead : nullptr);
        StartUp startUp(context, settings);
        return startUp.run() ? 0 : startUp.exitCode();
    }

    void verifyFilesAfterwards(const QStringList &programFiles)
    {
        QCOMPARE(filesIn(m_parent.path()), QStringList());
        QCOMPARE(filesIn(m_parent.filePath(u"user/Module"_s)), QStringList());
        QCOMPARE(filesIn(programFolder()), programFiles);
        QStringList moduleFiles = {pictureName};
        if (m_archive.size >= 0)
            moduleFiles.prepend(archiveName);
        QCOMPARE(filesIn(moduleFolder()), moduleFiles);
        // Untouched: the same size, time of change and file.
        QVERIFY(stampOf(moduleFolder() + u'/' + archiveName) == m_archive);
    }

    // The scratch program folder lives in a parent folder of its own, so that anything
    // written beside it shows.
    QTemporaryDir m_parent;
    QTemporaryDir m_lockFolder;
    FileStamp m_archive;
};

QTEST_MAIN(TestDamagedModules)
#include "tst_damagedmodules.moc"
