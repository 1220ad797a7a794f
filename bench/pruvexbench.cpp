// Times the page generator and the project file on synthetic quizzes of
// growing size: the three kinds mixed, six answers or options each, texts of
// realistic length, captcha and address block on. It reports; it checks
// nothing but that a saved quiz loads again.
//
//   pruvex-bench [RUNS [SIZE...]]
//
// RUNS timings per step give the median (default 7); SIZE replaces the
// standard sizes. Each size is timed in fifteen processes of its own, the
// sizes taking turns, and the smallest of their medians is reported, so that
// what the memory allocator kept from one size does not speed up or slow
// down the next, and a process or a moment that the machine happens to slow
// down does not decide. "pruvex-bench --one RUNS SIZE" times one size in this process
// (for a profiler, say) and prints its figures on one line.

#include "generatedpage.h"
#include "projectfile.h"
#include "freetextquestion.h"
#include "multiplechoicequestion.h"
#include "questionlist.h"
#include "singlechoicequestion.h"
#include "quiz.h"
#include "textcodec.h"

#include <QCoreApplication>
#include <QProcess>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const std::vector<int> kSizes = {500, 1000, 2000, 4000};

// Targets for a quiz of 2000 questions, in milliseconds.
constexpr double kGenerateTarget = 10;
constexpr double kSaveTarget = 10;
constexpr double kLoadTarget = 25;
// Doubling the quiz may at most double a time; a little more is noise.
constexpr double kGrowthLimit = 2.1;
// A hostile project is refused or generated within this time.
constexpr double kChainTarget = 1000;

// The settings whose placeholders follow each other in the filling order
// (the colours are left out: a load puts them into their six-digit form):
// each setting holds copies of the next one's placeholder, so that the page
// would hold copies^13 of the last one.
// Each setting holds copies of the placeholder of a later step.
const struct {
    SettingKey key;
    const char *next;
} kChain[] = {
    {SettingKey::edtFormTitel, "ENCODING"},
    {SettingKey::encoding, "FORMMAIL"},
    {SettingKey::cboFormMailer, "TEXTAUSWERTHEAD"},
    {SettingKey::edtAuswertungHeader, "HEADINGFONT"},
    {SettingKey::cboFontHeader, "HEADINGFONTSIZE"},
    {SettingKey::edtSizeHeader, "NORMALFONT"},
    {SettingKey::cboFontForm, "NORMALFONTSIZE"},
    {SettingKey::edtSizeForm, "TABLEWIDTH"},
    {SettingKey::edtTabWidth, "SUBJECT"},
    {SettingKey::edtBetreff, "EINLEITUNGTEXT"},
    {SettingKey::memoEinleitung, "TEXTENDE"},
    {SettingKey::memoTextEnde, "SENDBUTTON"},
    {SettingKey::edtSendenButton, "RESETBUTTON"},
};

QString words(int n, int seed)
{
    static const char *const kWords[] = {"Welche", "Stadt",     "liegt",      "an",     "der",        "Elbe",        "und",   "wie",
                                         "viele",  "Einwohner", "hat",        "sie",    "heute",      "ungefähr",    "Fluss", "Gebirge",
                                         "Küste",  "Insel",     "Hauptstadt", "größte", "Bundesland", "Nachbarland", "Meer",  "Grenze",
                                         "im",     "Süden",     "Norden",     "Osten",  "Westen"};
    constexpr int kCount = int(sizeof(kWords) / sizeof(kWords[0]));
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << QString::fromUtf8(kWords[(seed * 7 + i * 13) % kCount]);
    return out.join(QLatin1Char(' '));
}

void fillQuiz(Quiz &quiz, int questions)
{
    quiz.setText(SettingKey::edtFormTitel, QStringLiteral("Großes Quiz zur Erdkunde"));
    quiz.setText(SettingKey::memoEinleitung, words(40, 1) + QStringLiteral("\r\n") + words(30, 2));
    quiz.setText(SettingKey::memoAuswertung, words(25, 3));
    quiz.setText(SettingKey::edtEMail, QStringLiteral("quiz@example.org"));
    quiz.setText(SettingKey::encoding, QStringLiteral("utf-8"));
    quiz.setFlag(SettingKey::chkCaptcha, true);
    quiz.setFlag(SettingKey::chkShowAdress, true);
    for (const AddressField &field : Settings::addressFields())
        quiz.setFlag(field.shown, true);
    quiz.setFlag(SettingKey::chkForName, true);
    quiz.setFlag(SettingKey::chkForEmail, true);
    quiz.setFlag(SettingKey::cboStandardFeld, false);

    QuestionList &list = quiz.questions();
    list.clear();
    for (int i = 0; i < questions; ++i) {
        std::unique_ptr<Question> q = createQuestion(QuestionKind(i % 3));
        q->name = QStringLiteral("Frage%1").arg(i + 1);
        q->caption = words(14 + i % 9, i) + QLatin1Char('?');
        q->hint = words(10, i + 5);
        q->required = i % 2 == 0;
        if (i % 5 == 0)
            q->alertText = QStringLiteral("Bitte beantworten Sie Frage %1.").arg(i + 1);
        if (i % 7 == 0)
            q->tipLink = QStringLiteral("https://de.wikipedia.org/wiki/Erdkunde_%1").arg(i);
        if (i % 11 == 0)
            q->picture = QStringLiteral("bilder/frage%1.png").arg(i);
        if (q->kind() == QuestionKind::FreeText) {
            auto *s = static_cast<FreeTextQuestion *>(q.get());
            s->fieldSize = QStringLiteral("20");
            s->maxLength = QStringLiteral("100");
            for (int j = 0; j < 6; ++j)
                s->answers << words(2 + j % 3, i + j);
        } else {
            auto *c = static_cast<ChoiceQuestion *>(q.get());
            for (int j = 0; j < 6; ++j)
                c->options.push_back({words(3 + (i + j) % 5, i * 6 + j), j == i % 6 || (q->kind() == QuestionKind::MultipleChoice && j == 5)});
        }
        list.append(std::move(q));
    }
}

// The median time of a step, after a few runs that are not timed: the
// first runs of a step fill the caches and find the memory that the later
// ones use again, as an editor does that makes its page anew on each change.
double medianMs(int runs, const std::function<void()> &step)
{
    constexpr int kWarmUp = 3;
    for (int r = 0; r < kWarmUp; ++r)
        step();
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        step();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

QString ratio(double now, double before)
{
    return before > 0 ? QStringLiteral("x%1").arg(now / before, 0, 'f', 2) : QStringLiteral("-");
}

struct Figures {
    double generate = 0;
    double save = 0;
    double load = 0;
    double bytes = 0;
    bool ok = false;
};

// Times one size in this process.
Figures timeSize(int runs, int n, const QString &folder)
{
    Figures result;
    Quiz quiz;
    fillQuiz(quiz, n);

    PageOptions options;
    options.formIdSource = [] { return 4711; };
    GeneratedPage page;
    QString error;
    result.generate = medianMs(runs, [&] {
        if (!generatePage(quiz, &page, &error, options)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
    });
    result.bytes = double(page.bytes.size());

    const QString file = folder + QStringLiteral("/bench%1.pvx").arg(n);
    result.save = medianMs(runs, [&] {
        if (!saveProjectFile(quiz, file, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
    });

    int loadedQuestions = -1;
    result.load = medianMs(runs, [&] {
        Quiz loaded;
        if (!loadProjectFile(loaded, file))
            loadedQuestions = -1;
        else
            loadedQuestions = loaded.questions().count();
    });
    result.ok = loadedQuestions == n;
    return result;
}

// Times one size in a process of its own.
Figures timeSizeApart(int runs, int n, const QString &folder)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one"), QString::number(runs), QString::number(n), folder});
    Figures f;
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return f;
    const QList<QByteArray> fields = child.readAllStandardOutput().simplified().split(' ');
    if (fields.size() != 5 || fields[4] != "ok")
        return f;
    f.generate = fields[0].toDouble();
    f.save = fields[1].toDouble();
    f.load = fields[2].toDouble();
    f.bytes = fields[3].toDouble();
    f.ok = true;
    return f;
}

// Times every size in kProcesses processes of its own and keeps the smallest
// figures of each: how the machine places a process's memory makes one
// process faster or slower than the next by up to a tenth, and whatever else
// runs on the machine only ever adds time. The sizes take turns, so that a
// machine that grows busier for a while slows all of them alike and leaves
// their ratios as they are.
constexpr int kProcesses = 15;

std::vector<Figures> timeSizes(int runs, const std::vector<int> &sizes, const QString &folder)
{
    std::vector<Figures> best(sizes.size());
    for (int k = 0; k < kProcesses; ++k) {
        for (size_t i = 0; i < sizes.size(); ++i) {
            const Figures f = timeSizeApart(runs, sizes[i], folder);
            if (!f.ok)
                return {};
            Figures &b = best[i];
            if (!b.ok) {
                b = f;
                continue;
            }
            b.generate = std::min(b.generate, f.generate);
            b.save = std::min(b.save, f.save);
            b.load = std::min(b.load, f.load);
        }
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--one") == 0) {
        const Figures f = timeSize(std::max(1, atoi(argv[2])), std::max(1, atoi(argv[3])), QString::fromLocal8Bit(argv[4]));
        std::printf("%.3f %.3f %.3f %.0f %s\n", f.generate, f.save, f.load, f.bytes, f.ok ? "ok" : "failed");
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 7;
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(std::max(1, QString::fromLocal8Bit(argv[i]).toInt()));
    if (sizes.empty())
        sizes = kSizes;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }

    std::printf("Median of %d runs in each of %d processes per size (the sizes taking turns), the smallest of those; the ratio is to the previous size.\n\n",
                runs, kProcesses);
    std::printf("%9s  %18s  %18s  %18s  %20s\n", "questions", "generate ms", "save ms", "load ms", "page bytes");

    double prev[4] = {0, 0, 0, 0};
    double at2000[3] = {0, 0, 0};
    double worstGrowth = 0;
    bool failed = false;
    const std::vector<Figures> figures = timeSizes(runs, sizes, dir.path());
    if (figures.empty()) {
        std::fprintf(stderr, "a quiz was not timed, or its saved file did not load again\n");
        failed = true;
    }
    for (size_t i = 0; i < figures.size(); ++i) {
        const int n = sizes[i];
        const Figures &f = figures[i];
        const double now[4] = {f.generate, f.save, f.load, f.bytes};
        std::printf("%9d  %10.2f %7s  %10.2f %7s  %10.2f %7s  %12lld %7s\n", n, now[0], qPrintable(ratio(now[0], prev[0])), now[1],
                    qPrintable(ratio(now[1], prev[1])), now[2], qPrintable(ratio(now[2], prev[2])), static_cast<long long>(now[3]),
                    qPrintable(ratio(now[3], prev[3])));
        if (prev[0] > 0)
            for (int k = 0; k < 3; ++k)
                worstGrowth = std::max(worstGrowth, now[k] / prev[k]);
        if (n == 2000)
            std::copy(now, now + 3, at2000);
        std::copy(now, now + 4, prev);
    }

    // The chained placeholders of a hostile project, a few copies a step.
    std::printf("\n%9s  %18s  %s\n", "copies", "generate ms", "result");
    double worstChain = 0;
    for (const int copies : {3, 4, 5}) {
        Quiz quiz;
        for (const auto &link : kChain)
            quiz.setText(link.key, QStringLiteral("<!-- %1 -->").arg(QLatin1String(link.next)).repeated(copies));
        quiz.setText(SettingKey::edtCancelButton, QStringLiteral("x"));
        PageGenerator generator(quiz);
        QString page, error;
        bool ok = false;
        const double ms = medianMs(std::min(runs, 3), [&] { ok = generator.generate(&page, &error); });
        worstChain = std::max(worstChain, ms);
        std::printf("%9d  %10.2f %7s  %s\n", copies, ms, "",
                    ok ? qPrintable(QStringLiteral("generated, %1 characters").arg(page.size())) : "refused");
    }
    std::printf("Chained placeholders refused or generated in < %.0f ms: %s\n", kChainTarget,
                worstChain < kChainTarget ? "met" : "MISSED");

    if (at2000[0] == 0)
        return failed ? 1 : 0;
    auto verdict = [](bool ok) { return ok ? "met" : "MISSED"; };
    std::printf("\nTargets at 2000 questions: generate <= %.0f ms %s, save <= %.0f ms %s, load <= %.0f ms %s\n", kGenerateTarget,
                verdict(at2000[0] <= kGenerateTarget), kSaveTarget, verdict(at2000[1] <= kSaveTarget), kLoadTarget,
                verdict(at2000[2] <= kLoadTarget));
    std::printf("Largest growth of a time on doubling: x%.2f (%s)\n", worstGrowth, verdict(worstGrowth <= kGrowthLimit));
    return failed ? 1 : 0;
}
