#include "UserSettings.h"

#include "engine/CustomSettings.h"

#include <QSettings>

namespace UserSettings {

namespace {
const QString customGroup = QStringLiteral("custom/");
} // namespace

QString fontSizeKey()
{
    return QStringLiteral("testWindow/fontSize");
}

QString geometryKey()
{
    return QStringLiteral("mainWindow/geometry");
}

void storeCustom(QSettings &settings, const CustomSettings &custom)
{
    QString objectives;
    for (const bool checked : custom.lvObjChecked)
        objectives.append(checked ? QLatin1Char('1') : QLatin1Char('0'));
    settings.setValue(customGroup + QStringLiteral("objectivesListed"), custom.opObjIndex == 1);
    settings.setValue(customGroup + QStringLiteral("objectives"), objectives);
    settings.setValue(customGroup + QStringLiteral("randomQuestions"), custom.ckRndQues);
    settings.setValue(customGroup + QStringLiteral("randomAnswers"), custom.ckRndAns);
    settings.setValue(customGroup + QStringLiteral("timer"), custom.ckTimer);
    settings.setValue(customGroup + QStringLiteral("minutes"), custom.txDuration);
    settings.setValue(customGroup + QStringLiteral("previous"), custom.ckPrevious);
    settings.setValue(customGroup + QStringLiteral("answerButton"), custom.ckAnsBtn);
    settings.setValue(customGroup + QStringLiteral("correctAnswerCount"), custom.ckTotCorAns);
}

std::optional<CustomSettings> storedCustom(const QSettings &settings)
{
    if (!settings.contains(customGroup + QStringLiteral("minutes")))
        return std::nullopt;
    const auto flag = [&](const char *name) {
        return settings.value(customGroup + QLatin1String(name)).toBool();
    };
    CustomSettings custom;
    custom.opObjIndex = flag("objectivesListed") ? 1 : 0;
    for (const QChar checked :
         settings.value(customGroup + QStringLiteral("objectives")).toString())
        custom.lvObjChecked.append(checked == QLatin1Char('1'));
    custom.ckRndQues = flag("randomQuestions");
    custom.ckRndAns = flag("randomAnswers");
    custom.ckTimer = flag("timer");
    custom.txDuration = settings.value(customGroup + QStringLiteral("minutes")).toString();
    custom.ckPrevious = flag("previous");
    custom.ckAnsBtn = flag("answerButton");
    custom.ckTotCorAns = flag("correctAnswerCount");
    return custom;
}

} // namespace UserSettings
