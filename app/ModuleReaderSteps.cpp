#include "StartUp.h"

#include "moduledb/LoadTest.h"
#include "moduledb/ModulePreload.h"
#include "moduledb/Unpack.h"

ModuleSteps moduleReaderSteps(ModulePreload *readAhead)
{
    return {[readAhead](const QString &archivePath, const QString &destinationFolder,
                        const QString &programFolder, OneBasedArray<QString> &testFiles) {
                const PreloadedModule *module = readAhead ? readAhead->take(archivePath) : nullptr;
                return UnpackTest(archivePath, destinationFolder, programFolder, testFiles,
                                  module ? &module->archive : nullptr);
            },
            [readAhead](const OneBasedArray<QString> &testFiles, const QString &moduleFolder,
                        QuestionBank &bank) {
                const bool loaded = LoadTest(testFiles, moduleFolder, bank,
                                             readAhead ? readAhead->taken() : nullptr);
                if (readAhead)
                    readAhead->release();
                return loaded;
            }};
}
