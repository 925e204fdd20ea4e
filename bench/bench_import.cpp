// Time to import a GIFT bank of 10,000 questions (reading, parsing and mapping into the
// module's tables, with its report), the median of five runs. The bank mixes the kinds a
// teacher's bank holds: single and multiple choice, true/false, typed answers, numbers,
// matching, with a category every 500 questions and some HTML.
//
//     bench_import [questions]
#include "tools/qdbimport/BankImport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray giftBank(int questions)
{
    QString gift;
    for (int i = 1; i <= questions; ++i) {
        if (i % 500 == 1)
            gift += QStringLiteral("$CATEGORY: $course$/top/Networking/Part %1\n\n").arg(i / 500);
        gift += QStringLiteral("// question %1\n::Q%1 name of the question::").arg(i);
        switch (i % 6) {
        case 0:
            gift += QStringLiteral("[html]<p>Which address belongs to subnet %1?</p>{\n"
                                   "=10.%1.0.1\n~10.%1.255.255#broadcast\n~10.%1.0.0\n"
                                   "~192.168.%1.1\n####The first host of the /16.\n}\n\n")
                        .arg(i % 250);
            break;
        case 1:
            gift += QStringLiteral("Which two are private?{~%50%10.0.0.1 ~%50%172.16.0.1 "
                                   "~%-100%8.8.8.8 ~%-100%1.1.1.1}\n\n");
            break;
        case 2:
            gift += QStringLiteral("OSPF is a link-state protocol.{T}\n\n");
            break;
        case 3:
            gift += QStringLiteral("Type the mask of a /%1 network.{=255.255.255.0}\n\n").arg(24);
            break;
        case 4:
            gift += QStringLiteral("Which port does HTTPS use?{#443}\n\n");
            break;
        default:
            gift += QStringLiteral("Match each protocol with its transport.{\n=SSH -> TCP\n"
                                   "=TFTP -> UDP\n=DNS zone transfer -> TCP\n}\n\n");
            break;
        }
    }
    return gift.toUtf8();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int questions = argc > 1 ? std::atoi(argv[1]) : 10000;
    const QByteArray bank = giftBank(questions);
    std::vector<double> millis;
    int imported = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        QString error;
        const auto module = importBanks({{QStringLiteral("bank.gift"), bank, {}}}, {}, &error);
        millis.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!module) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        imported = module->source.bank.questions.size();
    }
    std::sort(millis.begin(), millis.end());
    std::printf("import of %d GIFT questions (%lld KB): %.0f ms median of 5 (%d imported)\n",
                questions, qlonglong(bank.size() / 1024), millis[millis.size() / 2], imported);
    return 0;
}
