// The quiz server driven over HTTP on a free loopback port: every route,
// the limits, the captcha flow, what is stored and what is not, the export,
// hostile texts, and the program itself with its command line and signals.

#include "handoff.h"
#include "quizserver.h"
#include "resultsexport.h"
#include "serverconfig.h"
#include "serverfixtures.h"
#include "serverrunner.h"
#include "store.h"

#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <httplib.h>
#include <atomic>
#include <csignal>
#include <thread>

using namespace ServerFixture;

namespace {

const std::string kBase = "/quiz/v13/";
const std::string kForm = "application/x-www-form-urlencoded";

Fields sampleAnswers()
{
    return {{QStringLiteral("Frage1"), QStringLiteral("2")},    {QStringLiteral("Frage2_0"), QStringLiteral("set")},
            {QStringLiteral("Frage2_2"), QStringLiteral("set")}, {QStringLiteral("Frage3_0"), QStringLiteral("München")},
            {QStringLiteral("Frage4"), QStringLiteral("0")},    {QStringLiteral("Frage6_0"), QStringLiteral("Ostsee")},
            {QStringLiteral("Frage6_1"), QStringLiteral("Nordsee")}, {QStringLiteral("LName"), QStringLiteral("Muster")},
            {QStringLiteral("LEMAIL"), QStringLiteral("a@example.org")}};
}

Fields sampleForm(bool captcha = false, int formId = 4711)
{
    return hiddenFields(samplePage(QStringLiteral("http://127.0.0.1/quiz/v13/quiz.php"), captcha, formId)) + sampleAnswers();
}

std::string bodyOf(const Fields &fields)
{
    return formBody(fields).toStdString();
}

httplib::Result post(httplib::Client &c, const Fields &fields, const httplib::Headers &headers = {})
{
    return c.Post((kBase + "quiz.php").c_str(), headers, bodyOf(fields), kForm.c_str());
}

QString body(const httplib::Result &r)
{
    return r ? QString::fromStdString(r->body) : QString();
}

// The cookie the server set, as a browser sends it back.
std::string cookieOf(const httplib::Result &r)
{
    const std::string set = r->get_header_value("Set-Cookie");
    return set.substr(0, set.find(';'));
}

} // namespace

class TestServerHttp : public QObject
{
    Q_OBJECT

private slots:
    void routes_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("contains");
        const QString checked = QStringLiteral("Das Quiz-Skript antwortet");
        QTest::newRow("quiz.php") << "GET" << "/quiz/v13/quiz.php" << 200 << "An diese Adresse senden mit Pruvex erstellte Quiz-Seiten";
        QTest::newRow("checkurl") << "GET" << "/quiz/v13/quiz.php?action=checkurl" << 200 << checked;
        QTest::newRow("checkurl after a query") << "GET" << "/quiz/v13/quiz.php?quiz=3?action=checkurl" << 200 << checked;
        QTest::newRow("checkurl before a query") << "GET" << "/quiz/v13/quiz.php?action=checkurl?x=1" << 200 << checked;
        QTest::newRow("checkurl among others") << "GET" << "/quiz/v13/quiz.php?a=1&action=checkurl&b=2" << 200 << checked;
        QTest::newRow("checkurl says what is set up") << "GET" << "/quiz/v13/quiz.php?action=checkurl" << 200
                                                      << "<tr><td>Captcha</td><td>eingerichtet</td></tr>";
        QTest::newRow("other action") << "GET" << "/quiz/v13/quiz.php?action=other" << 200 << "Pruvex-Quiz-Skript";
        QTest::newRow("captcha without id") << "GET" << "/quiz/v13/captcha_img.php" << 400 << "Formular-ID";
        QTest::newRow("unknown page") << "GET" << "/quiz/v13/other.php" << 404 << "Seite nicht gefunden";
        QTest::newRow("no file from disk") << "GET" << "/quiz/v13/template.htm" << 404 << "Seite nicht gefunden";
        QTest::newRow("outside the base") << "GET" << "/quiz.php" << 404 << "Seite nicht gefunden";
        QTest::newRow("climbing out") << "GET" << "/quiz/v13/../../etc/passwd" << 404 << "Seite nicht gefunden";
        QTest::newRow("post elsewhere") << "POST" << "/quiz/v13/index.php" << 404 << "Seite nicht gefunden";
        QTest::newRow("post to the captcha") << "POST" << "/quiz/v13/captcha_img.php" << 405 << "Methode nicht erlaubt";
        QTest::newRow("put") << "PUT" << "/quiz/v13/quiz.php" << 405 << "Methode nicht erlaubt";
        QTest::newRow("delete") << "DELETE" << "/quiz/v13/captcha_img.php" << 405 << "Methode nicht erlaubt";
        QTest::newRow("post of another kind") << "POST" << "/quiz/v13/quiz.php" << 400 << "Kein Quiz-Formular";
    }

    void routes()
    {
        QFETCH(QString, method);
        QFETCH(QString, path);
        QFETCH(int, status);
        QFETCH(QString, contains);
        RunningServer s;
        auto c = s.client();
        const std::string p = path.toStdString();
        httplib::Result r = method == QStringLiteral("GET")    ? c.Get(p.c_str())
                            : method == QStringLiteral("POST") ? c.Post(p.c_str(), "{}", "application/json")
                            : method == QStringLiteral("PUT")  ? c.Put(p.c_str(), "x", "text/plain")
                                                              : c.Delete(p.c_str());
        QVERIFY(r);
        QCOMPARE(r->status, status);
        QVERIFY2(body(r).contains(contains), qPrintable(body(r)));
        QVERIFY(r->get_header_value("Content-Type").rfind("text/html; charset=utf-8", 0) == 0);
        QCOMPARE(QString::fromStdString(r->get_header_value("Content-Security-Policy")).contains(QStringLiteral("default-src 'none'")), true);
        QVERIFY(!QString::fromStdString(r->get_header_value("Content-Security-Policy")).contains(QStringLiteral("script-src")));
        QCOMPARE(r->get_header_value("X-Content-Type-Options"), std::string("nosniff"));
        QCOMPARE(r->get_header_value("Referrer-Policy"), std::string("no-referrer"));
        if (status == 405)
            QVERIFY(!r->get_header_value("Allow").empty());
        QCOMPARE(s.stored(), 0);
    }

    void evaluatesAndStores()
    {
        RunningServer s;
        auto c = s.client();
        const auto r = post(c, sampleForm());
        QVERIFY(r);
        QCOMPARE(r->status, 200);
        const QString page = body(r);
        QVERIFY(page.contains(QStringLiteral("<title>Quiz zur Erdkunde</title>")));
        QVERIFY(page.contains(QStringLiteral("<h2>Ihre Auswertung</h2>")));
        QVERIFY2(page.contains(QStringLiteral("<p>Vielen Dank für Ihre Teilnahme am Quiz zur Erdkunde!")), qPrintable(page.mid(page.indexOf(QStringLiteral("<main>")), 600)));
        QVERIFY(page.contains(QStringLiteral("<p class=\"score\">Sie haben 3 von 6 Fragen richtig beantwortet (50 %).</p>")));
        QCOMPARE(page.count(QStringLiteral("<li class=\"right\">")), 3);
        QCOMPARE(page.count(QStringLiteral("<li class=\"wrong\">")), 3);
        QVERIFY(page.contains(QStringLiteral("<dt>Ihre Antwort</dt><dd>Dresden<br>Magdeburg</dd>")));
        QVERIFY(page.contains(QStringLiteral("<dt>Richtige Antwort</dt><dd>Dresden<br>Magdeburg<br>Hamburg</dd>")));
        QVERIFY(page.contains(QStringLiteral("role=\"img\" aria-labelledby=\"chart-title\">\n<title id=\"chart-title\">Diagramm: 3 richtig, 3 falsch</title>")));
        QVERIFY(!page.contains(QStringLiteral("<script")));
        const QString backHint = QStringLiteral("Mit der Zurück-Taste des Browsers kommen Sie zum ausgefüllten Quiz zurück.");
        QVERIFY(page.contains(backHint));
        // The page is the answer to the post and may stay in the history.
        QCOMPARE(r->get_header_value("Cache-Control"), std::string("private, max-age=3600"));
        QVERIFY(r->get_header_value("Location").empty());

        QString error;
        const auto rows = s.store->submissions(QString(), &error);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].formId, QStringLiteral("4711"));
        QCOMPARE(rows[0].right, 3);
        QCOMPARE(rows[0].scored, 6);
        QCOMPARE(rows[0].time, QStringLiteral("2025-12-10T20:53:20Z"));
        QCOMPARE(rows[0].mailState, QStringLiteral("none"));
        QCOMPARE(rows[0].address.value(QStringLiteral("LName")).toString(), QStringLiteral("Muster"));
        QCOMPARE(s.store->schemaVersion(), Store::newestSchemaVersion());

        // Without the evaluation: thanks, no result, stored all the same.
        const auto thanks = post(c, with(sampleForm(), {{QStringLiteral("settings"), Handoff::scrambledFlag(false)}}));
        QCOMPARE(thanks->status, 200);
        QVERIFY(body(thanks).contains(QStringLiteral("Vielen Dank! Ihre Antworten sind angekommen.")));
        QVERIFY(body(thanks).contains(backHint));
        QVERIFY(!body(thanks).contains(QStringLiteral("richtig")));
        QCOMPARE(s.stored(), 2);
    }

    void refusesAndStoresNothing_data()
    {
        QTest::addColumn<QByteArray>("requestBody");
        QTest::addColumn<QString>("contentType");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("contains");
        const Fields form = sampleForm();
        const QString type = QString::fromStdString(kForm);
        QTest::newRow("other form") << QByteArray("name=x&mail=y") << type << 400 << "Das gesendete Formular ist kein Pruvex-Quiz";
        QTest::newRow("inconsistent") << formBody(with(form, {{QStringLiteral("countFrage2"), QStringLiteral("5")}})) << type << 400
                                      << "Frage 3 hat 5 Felder, aber 1 erwartete Antworten.";
        QTest::newRow("multipart") << formBody(form) << "multipart/form-data; boundary=x" << 400 << "Kein Quiz-Formular";
        QTest::newRow("body over the limit") << formBody(with(form, {{QStringLiteral("pad"), QString(9 * 1024, QLatin1Char('x'))}})) << type
                                             << 413 << "größer als die erlaubten 8 KB";
        Fields many = form;
        for (int i = 0; i < 100; ++i)
            many.append({QStringLiteral("x"), QStringLiteral("1")});
        QTest::newRow("too many fields") << formBody(many) << type << 413 << "mehr als 150 Felder";
        QTest::newRow("too many questions") << formBody(with(form, {{QStringLiteral("questioncount"), QStringLiteral("7")}})) << type << 413
                                            << "Das Quiz hat 7 Fragen; dieser Server wertet höchstens 6 aus.";
    }

    void refusesAndStoresNothing()
    {
        QFETCH(QByteArray, requestBody);
        QFETCH(QString, contentType);
        QFETCH(int, status);
        QFETCH(QString, contains);
        RunningServer s([](ServerConfig &c) {
            c.maxBodyKb = 8;
            c.maxFields = 150;
            c.maxQuestions = 6;
        });
        auto c = s.client();
        const auto r = c.Post((kBase + "quiz.php").c_str(), requestBody.toStdString(), contentType.toStdString().c_str());
        QVERIFY(r);
        QCOMPARE(r->status, status);
        QVERIFY2(body(r).contains(contains), qPrintable(body(r)));
        QCOMPARE(r->get_header_value("X-Content-Type-Options"), std::string("nosniff"));
        QCOMPARE(s.stored(), 0);
        // The sample itself fits these limits.
        QCOMPARE(post(c, sampleForm())->status, 200);
    }

    void limitsPostsPerAddress()
    {
        RunningServer s([](ServerConfig &c) {
            c.postsPerMinute = 3;
            c.trustedProxies = {QStringLiteral("127.0.0.1")};
        });
        auto c = s.client();
        const Fields form = sampleForm();
        const httplib::Headers school = {{"X-Forwarded-For", "203.0.113.7"}};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(post(c, form, school)->status, 200);
        const auto refused = post(c, form, school);
        QCOMPARE(refused->status, 429);
        QCOMPARE(refused->get_header_value("Retry-After"), std::string("60"));
        QVERIFY(body(refused).contains(QStringLiteral("Zu viele Anfragen")));
        // Another participant behind the same proxy, and a forged hop in
        // front of the address the proxy saw.
        QCOMPARE(post(c, form, {{"X-Forwarded-For", "198.51.100.1"}})->status, 200);
        QCOMPARE(post(c, form, {{"X-Forwarded-For", "10.9.9.9, 203.0.113.7"}})->status, 429);
        QCOMPARE(s.stored(), 4);

        // Without trusting the peer, X-Forwarded-For changes nothing.
        RunningServer direct([](ServerConfig &config) { config.postsPerMinute = 2; });
        auto d = direct.client();
        QCOMPARE(post(d, form, {{"X-Forwarded-For", "1.1.1.1"}})->status, 200);
        QCOMPARE(post(d, form, {{"X-Forwarded-For", "2.2.2.2"}})->status, 200);
        QCOMPARE(post(d, form, {{"X-Forwarded-For", "3.3.3.3"}})->status, 429);
    }

    void aClassAtOnceFromOneAddress()
    {
        RunningServer s;
        const std::string body = bodyOf(sampleForm());
        std::atomic<int> ok{0};
        std::mutex mutex;
        QStringList failures;
        std::vector<std::thread> pupils;
        for (int i = 0; i < 30; ++i)
            pupils.emplace_back([&] {
                auto c = s.client();
                const auto r = c.Post((kBase + "quiz.php").c_str(), body, kForm.c_str());
                if (r && r->status == 200) {
                    ++ok;
                } else {
                    std::lock_guard<std::mutex> lock(mutex);
                    failures << (r ? QString::number(r->status) + QString::fromStdString(r->body).right(300) : QString::fromStdString(httplib::to_string(r.error())));
                }
            });
        for (auto &t : pupils)
            t.join();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        QCOMPARE(ok.load(), 30);
        QCOMPARE(s.stored(), 30);
    }

    void captchaFlow()
    {
        RunningServer s;
        auto browser = s.client();
        const Fields form = sampleForm(true);
        auto withCode = [&](const QString &code) { return with(form, {{QStringLiteral("captcha_input"), code}}); };
        auto fetchPicture = [&](const std::string &cookie = {}) {
            httplib::Headers h;
            if (!cookie.empty())
                h.emplace("Cookie", cookie);
            return browser.Get((kBase + "captcha_img.php?id=4711").c_str(), h);
        };
        const char *refused = "Sicherheitscode nicht angenommen";

        // No picture was fetched: no code to match.
        QCOMPARE(post(browser, withCode(QStringLiteral("AAAAA")))->status, 403);

        const auto picture = fetchPicture();
        QCOMPARE(picture->status, 200);
        QCOMPARE(picture->get_header_value("Content-Type"), std::string("image/png"));
        QCOMPARE(picture->get_header_value("Cache-Control"), std::string("no-store"));
        QVERIFY(QImage::fromData(QByteArray::fromStdString(picture->body), "PNG").size() == QSize(180, 60));
        const std::string setCookie = picture->get_header_value("Set-Cookie");
        QVERIFY2(QString::fromStdString(setCookie).contains(QStringLiteral("; Path=/quiz/v13/; Max-Age=1200; HttpOnly; SameSite=Lax")),
                 setCookie.c_str());
        const httplib::Headers cookie = {{"Cookie", "other=1; " + cookieOf(picture)}};
        const QString code = s.lastCode();
        QCOMPARE(code.size(), 5);
        QVERIFY2(!code.contains(QRegularExpression(QStringLiteral("[0125O8BISLZG6]"))), qPrintable(code));

        // Right, in lower case; then the same code again.
        const auto right = post(browser, withCode(code.toLower()), cookie);
        QCOMPARE(right->status, 200);
        QCOMPARE(s.stored(), 1);
        const auto twice = post(browser, withCode(code), cookie);
        QCOMPARE(twice->status, 403);
        QVERIFY(body(twice).contains(QStringLiteral("schon verwendet")));

        // Wrong once: the code is used up by that try.
        fetchPicture(cookie.begin()->second);
        const QString second = s.lastCode();
        const auto wrong = post(browser, withCode(second == QStringLiteral("AAAAA") ? QStringLiteral("CCCCC") : QStringLiteral("AAAAA")), cookie);
        QCOMPARE(wrong->status, 403);
        QVERIFY(body(wrong).contains(QString::fromUtf8(refused)));
        QVERIFY(body(wrong).contains(QStringLiteral("falsch")));
        QCOMPARE(post(browser, withCode(second), cookie)->status, 403);

        // Missing input.
        fetchPicture(cookie.begin()->second);
        QCOMPARE(post(browser, form, cookie)->status, 403);

        // Expired after 20 minutes.
        fetchPicture(cookie.begin()->second);
        const QString late = s.lastCode();
        s.now += 20 * 60 + 1;
        const auto expired = post(browser, withCode(late), cookie);
        QCOMPARE(expired->status, 403);
        QVERIFY(body(expired).contains(QStringLiteral("abgelaufen")));

        // Another browser cannot use this browser's code.
        fetchPicture(cookie.begin()->second);
        const QString mine = s.lastCode();
        QCOMPARE(post(browser, withCode(mine), {{"Cookie", "pruvex_captcha=0123456789abcdef0123456789abcdef"}})->status, 403);

        // A browser that keeps no cookie for the picture: the code of its address.
        fetchPicture();
        QCOMPARE(post(browser, withCode(s.lastCode()))->status, 200);
        QCOMPARE(s.stored(), 2);

        // The quiz's own error page, when it is a web address.
        const QString errorPage = QStringLiteral("https://schule.example/falscher-code.html");
        const auto redirected = post(browser, with(withCode(QStringLiteral("AAAAA")), {{QStringLiteral("settings_error_captcha"), Handoff::base64(errorPage)}}), cookie);
        QCOMPARE(redirected->status, 303);
        QCOMPARE(redirected->get_header_value("Location"), errorPage.toStdString());
        const auto notWeb = post(browser, with(withCode(QStringLiteral("AAAAA")), {{QStringLiteral("settings_error_captcha"), Handoff::base64(QStringLiteral("javascript:alert(1)"))}}),
                                 {{"Cookie", cookie.begin()->second}, {"Referer", "https://schule.example/quiz.htm"}});
        QCOMPARE(notWeb->status, 403);
        QVERIFY(!body(notWeb).contains(QStringLiteral("javascript:")));
        QVERIFY(body(notWeb).contains(QStringLiteral("<a href=\"https://schule.example/quiz.htm\">Zurück zum Quiz</a>")));
        QCOMPARE(s.stored(), 2);
    }

    void hostileTextsComeBackHarmless()
    {
        RunningServer s;
        auto c = s.client();
        const QString evil = QStringLiteral("\"'><script>alert(1)</script><img src=x onerror=alert(2)><a href=\"javascript:alert(3)\">x</a>");
        Fields form = sampleForm();
        for (auto &[name, value] : form) {
            if (name == QStringLiteral("subject") || name == QStringLiteral("auswertung_header") || name.startsWith(QStringLiteral("beschrFrage")) ||
                name.startsWith(QStringLiteral("Frage3_")) || name.startsWith(QStringLiteral("Frage6_")) || name == QStringLiteral("LName") ||
                name == QStringLiteral("LEMAIL"))
                value = evil;
            else if (name == QStringLiteral("auswertung_text"))
                value = Handoff::base64(evil);
            else if (name.startsWith(QStringLiteral("FA_USER_")))
                value = Handoff::base64(Handoff::encodeText(evil));
        }
        // Right answers of the choice questions name options whose texts are evil too.
        const auto r = post(c, form);
        QVERIFY(r);
        QCOMPARE(r->status, 200);
        const QString page = body(r);
        // No tag of the participant's, no event attribute, no script address.
        QVERIFY(!page.contains(QStringLiteral("<script")));
        QVERIFY(!page.contains(QStringLiteral("<img")));
        QVERIFY(!page.contains(QRegularExpression(QStringLiteral("<[^>]*\\son[a-z]+\\s*="))));
        QVERIFY(!page.contains(QRegularExpression(QStringLiteral("<[^>]*javascript:"))));
        QVERIFY(!page.contains(QStringLiteral("\"'>")));
        QVERIFY(page.contains(QStringLiteral("<title>&quot;&#39;&gt;&lt;script&gt;alert(1)&lt;/script&gt;")));
        // The question text keeps its link tag without the address.
        QVERIFY(page.contains(QStringLiteral("<div class=\"qtext\">&quot;'&gt;alert(1)<a>x</a></div>")));
        // Stored as sent, so the teacher's export shows what came.
        QString error;
        const auto rows = s.store->submissions(QString(), &error);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].subject, evil);
        QCOMPARE(rows[0].address.value(QStringLiteral("LName")).toString(), evil);
    }

    void exportsResults()
    {
        RunningServer s;
        auto c = s.client();
        QCOMPARE(post(c, sampleForm())->status, 200);
        s.now += 90;
        Fields other = with(sampleForm(false, 42), {{QStringLiteral("Frage1"), QStringLiteral("1")}, {QStringLiteral("LName"), QStringLiteral("=1+1; \"Zitat\"")}},
                            {QStringLiteral("LEMAIL"), QStringLiteral("Frage3_0")});
        QCOMPARE(post(c, other)->status, 200);
        QString error;
        const auto rows = s.store->submissions(QString(), &error);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(s.store->submissions(QStringLiteral("42"), &error).size(), 1);

        const QByteArray json = ResultsExport::json(s.store->submissions(QStringLiteral("4711"), &error));
        const QByteArray jsonGolden = QJsonDocument::fromJson(R"([{
  "form": "4711", "time": "2025-12-10T20:53:20Z", "subject": "Quiz zur Erdkunde", "right": 3, "scored": 6,
  "questions": [
    {"type": "TSingleQuestion", "text": "Welcher Fluss ist der längste Fluss innerhalb Deutschlands? *", "answers": ["Rhein"], "right": true},
    {"type": "TMultiQuestion", "text": "Welche dieser Städte liegen an der Elbe? *", "answers": ["Dresden", "Magdeburg"], "right": false},
    {"type": "TSimpleQuestion", "text": "Wie heißt die Landeshauptstadt von Bayern? *", "answers": ["München"], "right": true},
    {"type": "TSingleQuestion", "text": "Wie heißt der höchste Berg Deutschlands? *", "answers": ["Watzmann"], "right": false},
    {"type": "TMultiQuestion", "text": "Welche dieser Länder grenzen an Deutschland?", "answers": [], "right": false},
    {"type": "TSimpleQuestion", "text": "An welche zwei Meere grenzt Deutschland?", "answers": ["Ostsee", "Nordsee"], "right": true}
  ],
  "address": {"LName": "Muster", "LEMAIL": "a@example.org"},
  "mail": {"state": "none", "detail": ""}
}])").toJson(QJsonDocument::Indented);
        QCOMPARE(QString::fromUtf8(QJsonDocument::fromJson(json).toJson()), QString::fromUtf8(QJsonDocument::fromJson(jsonGolden).toJson()));

        const QByteArray csv = ResultsExport::csv(rows);
        const QByteArray csvGolden =
            "\xEF\xBB\xBF"
            "\"Zeit (UTC)\";\"Formular\";\"Betreff\";\"Richtig\";\"Bewertet\";\"Prozent\";\"LName\";\"LEMAIL\";"
            "\"Frage 1: Welcher Fluss ist der längste Fluss innerhalb Deutschlands? *\";\"Frage 2: Welche dieser Städte liegen an der Elbe? *\";"
            "\"Frage 3: Wie heißt die Landeshauptstadt von Bayern? *\";\"Frage 4: Wie heißt der höchste Berg Deutschlands? *\";"
            "\"Frage 5: Welche dieser Länder grenzen an Deutschland?\";\"Frage 6: An welche zwei Meere grenzt Deutschland?\";\"Mail\"\r\n"
            "\"2025-12-10T20:53:20Z\";\"4711\";\"Quiz zur Erdkunde\";3;6;50;\"Muster\";\"a@example.org\";\"richtig: Rhein\";"
            "\"falsch: Dresden, Magdeburg\";\"richtig: München\";\"falsch: Watzmann\";\"falsch: \";\"richtig: Ostsee, Nordsee\";\"keine\"\r\n"
            "\"2025-12-10T20:54:50Z\";\"42\";\"Quiz zur Erdkunde\";1;6;17;\"'=1+1; \"\"Zitat\"\"\";\"\";\"falsch: Elbe\";"
            "\"falsch: Dresden, Magdeburg\";\"falsch: \";\"falsch: Watzmann\";\"falsch: \";\"richtig: Ostsee, Nordsee\";\"keine\"\r\n";
        QCOMPARE(QString::fromUtf8(csv), QString::fromUtf8(csvGolden));
    }

    void theProgram()
    {
        QTemporaryDir dir;
        QProcess server;
        server.setProcessChannelMode(QProcess::SeparateChannels);
        const QString program = QStringLiteral(PRUVEX_BIN_DIR "/pruvex-server");
        server.start(program, {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--data"), dir.path(),
                               QStringLiteral("--base"), QStringLiteral("/test")});
        QVERIFY(server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
        const QString address = QString::fromUtf8(server.readLine()).trimmed();
        const QRegularExpression first(QStringLiteral("^http://127\\.0\\.0\\.1:(\\d+)/test/quiz\\.php$"));
        const auto m = first.match(address);
        QVERIFY2(m.hasMatch(), qPrintable(address));
        const int port = m.captured(1).toInt();
        QVERIFY(port > 0);
        httplib::Client c("127.0.0.1", port);
        const auto check = c.Get("/test/quiz.php?action=checkurl");
        QVERIFY(check);
        QCOMPARE(check->status, 200);
        const auto sent = c.Post("/test/quiz.php", bodyOf(sampleForm()), kForm.c_str());
        QCOMPARE(sent->status, 200);
        // A slow client is still being answered when the signal comes.
        std::thread slow([&] {
            httplib::Client d("127.0.0.1", port);
            const std::string b = bodyOf(sampleForm());
            d.Post("/test/quiz.php", b, kForm.c_str());
        });
        slow.join();
        ::kill(pid_t(server.processId()), SIGTERM);
        QVERIFY(server.waitForFinished(10000));
        QCOMPARE(server.exitStatus(), QProcess::NormalExit);
        QCOMPARE(server.exitCode(), 0);

        auto results = [&](const QStringList &args, int *code) {
            QProcess p;
            p.start(program, QStringList{QStringLiteral("results"), QStringLiteral("--data"), dir.path()} + args);
            p.waitForFinished(10000);
            *code = p.exitCode();
            return p.readAllStandardOutput();
        };
        int code = -1;
        const QByteArray json = results({QStringLiteral("--format"), QStringLiteral("json")}, &code);
        QCOMPARE(code, 0);
        const QJsonArray array = QJsonDocument::fromJson(json).array();
        QCOMPARE(array.size(), 2);
        QCOMPARE(array[0].toObject().value(QStringLiteral("form")).toString(), QStringLiteral("4711"));
        QCOMPARE(array[0].toObject().value(QStringLiteral("right")).toInt(), 3);
        const QByteArray csv = results({QStringLiteral("--form"), QStringLiteral("4711")}, &code);
        QCOMPARE(code, 0);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF\"Zeit (UTC)\";"));
        QCOMPARE(csv.count("\r\n"), 3);
        QCOMPARE(results({QStringLiteral("--form"), QStringLiteral("999")}, &code).count("\r\n"), 1);
        results({QStringLiteral("--format"), QStringLiteral("xml")}, &code);
        QCOMPARE(code, 2);
        results({QStringLiteral("--listen"), QStringLiteral("1:2")}, &code);
        QCOMPARE(code, 2);
    }

    void configurationFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("server.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[server]\nlisten=0.0.0.0:9090\nbase=/q\ntrusted_proxies=127.0.0.1, ::1\n"
                "[limits]\nmax_body_kb=64\nposts_per_minute=0\n");
        f.close();
        ServerConfig c;
        QString error;
        QVERIFY2(ServerConfig::read(path, &c, &error), qPrintable(error));
        QCOMPARE(c.host, QStringLiteral("0.0.0.0"));
        QCOMPARE(c.port, 9090);
        QCOMPARE(c.basePath, QStringLiteral("/q/"));
        QCOMPARE(c.trustedProxies, (QStringList{QStringLiteral("127.0.0.1"), QStringLiteral("::1")}));
        QCOMPARE(c.maxBodyKb, 64);
        QCOMPARE(c.postsPerMinute, 0);
        QCOMPARE(c.maxQuestions, 500);
        QCOMPARE(c.maxFields, 10000);

        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[limits]\nmax_fields=viele\n");
        f.close();
        ServerConfig broken;
        QVERIFY(!ServerConfig::read(path, &broken, &error));
        QCOMPARE(error, QStringLiteral("Konfiguration: limits/max_fields muss eine ganze Zahl von 1 bis 10000000 sein, nicht \"viele\"."));
        // The sample configuration beside the program reads as the defaults.
        ServerConfig sample;
        QVERIFY2(ServerConfig::read(QStringLiteral(PRUVEX_BIN_DIR "/pruvex-server.ini"), &sample, &error), qPrintable(error));
        QCOMPARE(sample.port, 8080);
        QCOMPARE(sample.postsPerMinute, 120);
    }
};

QTEST_MAIN(TestServerHttp)
#include "tst_serverhttp.moc"
