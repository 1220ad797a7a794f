#include "quizserver.h"

#include "captcha.h"
#include "formbody.h"
#include "pages.h"
#include "ratelimiter.h"
#include "version.h"
#include "store.h"
#include "submission.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrl>

#include <httplib.h>
#include <sys/socket.h>

namespace {

const char *const kHtml = "text/html; charset=utf-8";
const char *const kCookie = "pruvex_captcha";

std::string utf8(const QString &s)
{
    return s.toStdString();
}

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

void sendPage(httplib::Response &res, int status, const QString &page, const char *cache = "no-cache")
{
    res.status = status;
    res.set_header("Cache-Control", cache);
    res.set_content(utf8(page), kHtml);
}

void sendError(httplib::Response &res, int status, const QString &title, const QString &message)
{
    sendPage(res, status, Pages::error(title, message));
}

// The value of one cookie of the request; empty when not sent.
QString cookie(const httplib::Request &req, const char *name)
{
    const QString header = text(req.get_header_value("Cookie"));
    for (const QString &part : header.split(QLatin1Char(';'))) {
        const QString p = part.trimmed();
        const int eq = p.indexOf(QLatin1Char('='));
        if (eq > 0 && p.left(eq) == QLatin1String(name))
            return p.mid(eq + 1).trimmed();
    }
    return {};
}

bool isToken(const QString &s)
{
    if (s.size() != 32)
        return false;
    for (QChar c : s)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    return true;
}

QString newToken()
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    QString s;
    for (quint32 w : words)
        s += QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0'));
    return s;
}

bool isWebAddress(const QString &s)
{
    const QUrl url(s, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) && !url.host().isEmpty();
}

} // namespace

// The library listens with a backlog of five; a class that sends at once
// needs more, so the socket's backlog is raised after binding.
class QuizServer::Listener : public httplib::Server
{
public:
    void widenBacklog() { ::listen(svr_sock_, SOMAXCONN); }
};

QuizServer::QuizServer(const ServerConfig &config, Store &store)
    : m_config(config)
    , m_store(store)
    , m_server(std::make_unique<Listener>())
    , m_limiter(std::make_unique<RateLimiter>(config.postsPerMinute,
                                              config.qtDriver() == QLatin1String("QPSQL") ? &store : nullptr))
    , m_clock([] { return QDateTime::currentSecsSinceEpoch(); })
    , m_mailState(QStringLiteral("nicht eingerichtet"))
{
    auto &s = *m_server;
    const int threads = config.threads;
    s.new_task_queue = [threads] { return new httplib::ThreadPool(size_t(threads)); };
    s.set_read_timeout(config.readTimeoutSeconds, 0);
    s.set_write_timeout(config.writeTimeoutSeconds, 0);
    s.set_keep_alive_timeout(5);
    // Headers and body go out in separate writes; without this, delayed
    // acknowledgements add tens of milliseconds to every answer.
    s.set_tcp_nodelay(true);
    s.set_keep_alive_max_count(1000);
    s.set_payload_max_length(size_t(config.maxBodyKb) * 1024);
    // No script runs in any page of the server; pictures of question texts
    // may come from the web.
    s.set_default_headers({
        {"Content-Security-Policy",
         "default-src 'none'; style-src 'unsafe-inline'; img-src 'self' data: http: https:; form-action 'none'; base-uri 'none'"},
        {"X-Content-Type-Options", "nosniff"},
        {"Referrer-Policy", "no-referrer"},
    });
    s.Get(".*", [this](const httplib::Request &req, httplib::Response &res) { handleGet(req, res); });
    s.Post(".*", [this](const httplib::Request &req, httplib::Response &res, const httplib::ContentReader &reader) {
        handlePost(req, res, reader);
    });
    auto other = [this](const httplib::Request &req, httplib::Response &res) { handleOtherMethod(req, res); };
    s.Put(".*", other);
    s.Patch(".*", other);
    s.Delete(".*", other);
    s.Options(".*", other);
    s.set_error_handler([this](const httplib::Request &req, httplib::Response &res) { handleError(req, res); });
}

QuizServer::~QuizServer() = default;

QString QuizServer::version()
{
    return QStringLiteral(PRUVEX_VERSION_FULL);
}

int QuizServer::bind(QString *error)
{
    const std::string host = utf8(m_config.host);
    if (m_config.port == 0) {
        m_port = m_server->bind_to_any_port(host);
    } else {
        m_port = m_server->bind_to_port(host, m_config.port) ? m_config.port : -1;
    }
    if (m_port >= 0)
        m_server->widenBacklog();
    if (m_port < 0)
        *error = QStringLiteral("Der Server kann nicht auf %1:%2 hören (Adresse belegt oder nicht erlaubt).").arg(m_config.host).arg(m_config.port);
    return m_port;
}

void QuizServer::run()
{
    m_server->listen_after_bind();
}

void QuizServer::stop()
{
    m_server->stop();
}

QString QuizServer::quizAddress() const
{
    const QString host = m_config.host.contains(QLatin1Char(':')) ? QLatin1Char('[') + m_config.host + QLatin1Char(']') : m_config.host;
    return QStringLiteral("http://%1:%2%3quiz.php").arg(host).arg(m_port).arg(m_config.basePath);
}

QuizServer::Route QuizServer::route(const std::string &path) const
{
    const QString p = text(path);
    if (p == m_config.basePath + QLatin1String("quiz.php"))
        return Route::Quiz;
    if (p == m_config.basePath + QLatin1String("captcha_img.php"))
        return Route::Captcha;
    return Route::None;
}

QString QuizServer::clientAddress(const httplib::Request &req) const
{
    const QString peer = text(req.remote_addr);
    if (!m_config.trustedProxies.contains(peer) || !req.has_header("X-Forwarded-For"))
        return peer;
    QStringList hops;
    for (size_t i = 0; i < req.get_header_value_count("X-Forwarded-For"); ++i)
        hops += text(req.get_header_value("X-Forwarded-For", i)).split(QLatin1Char(','));
    for (auto it = hops.crbegin(); it != hops.crend(); ++it) {
        const QString hop = it->trimmed();
        if (!hop.isEmpty() && !m_config.trustedProxies.contains(hop))
            return hop;
    }
    return peer;
}

bool QuizServer::viaHttps(const httplib::Request &req) const
{
    return m_config.trustedProxies.contains(text(req.remote_addr)) &&
           QString::fromStdString(req.get_header_value("X-Forwarded-Proto")).trimmed().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}

void QuizServer::handleOtherMethod(const httplib::Request &req, httplib::Response &res)
{
    const Route r = route(req.path);
    if (r == Route::None) {
        sendError(res, 404, QStringLiteral("Seite nicht gefunden"), QStringLiteral("Unter dieser Adresse gibt es nichts."));
        return;
    }
    res.set_header("Allow", r == Route::Quiz ? "GET, HEAD, POST" : "GET, HEAD");
    sendError(res, 405, QStringLiteral("Methode nicht erlaubt"), QStringLiteral("Diese Adresse nimmt keine %1-Anfragen an.").arg(text(req.method)));
}

void QuizServer::handleError(const httplib::Request &req, httplib::Response &res)
{
    // The library calls this for every status from 400 on; pages made here
    // stay as they are.
    if (!res.body.empty())
        return;
    // The library refuses a target with a second "?", which the link test
    // makes of an address that holds a query: answer it all the same.
    const size_t q = req.target.find('?');
    if (res.status == 400 && req.method == "GET" && q != std::string::npos && route(req.target.substr(0, q)) == Route::Quiz) {
        quizPage(req.target, res);
        return;
    }
    // Errors that the library answers by itself (an oversize body, a route
    // that does not exist, a malformed request) get a German page too.
    if (res.status == 413)
        sendError(res, 413, QStringLiteral("Zu große Anfrage"),
                  QStringLiteral("Das gesendete Formular ist größer als die erlaubten %1 KB.").arg(m_config.maxBodyKb));
    else if (res.status == 404)
        sendError(res, 404, QStringLiteral("Seite nicht gefunden"), QStringLiteral("Unter dieser Adresse gibt es nichts."));
    else
        sendError(res, res.status, QStringLiteral("Fehler"), QStringLiteral("Die Anfrage konnte nicht bearbeitet werden."));
}

void QuizServer::handleGet(const httplib::Request &req, httplib::Response &res)
{
    switch (route(req.path)) {
    case Route::None:
        sendError(res, 404, QStringLiteral("Seite nicht gefunden"), QStringLiteral("Unter dieser Adresse gibt es nichts."));
        return;
    case Route::Captcha:
        captchaImage(req, res);
        return;
    case Route::Quiz:
        quizPage(req.target, res);
        return;
    }
}

void QuizServer::quizPage(const std::string &rawTarget, httplib::Response &res)
{
    // The link test appends "?action=checkurl" to whatever the address
    // holds, so it may follow another query or be followed by one.
    const QString target = QUrl::fromPercentEncoding(QByteArray::fromStdString(rawTarget));
    const int q = target.indexOf(QLatin1Char('?'));
    bool check = false;
    if (q >= 0)
        for (const QString &part : target.mid(q + 1).split(QRegularExpression(QStringLiteral("[?&;]"))))
            if (part.trimmed() == QLatin1String("action=checkurl"))
                check = true;
    if (check)
        sendPage(res, 200, Pages::checkUrl(version(), true, m_mailState));
    else
        sendPage(res, 200, Pages::info(quizAddress()));
}

void QuizServer::captchaImage(const httplib::Request &req, httplib::Response &res)
{
    const QString address = clientAddress(req);
    if (!m_limiter->allow(address, QDateTime::currentMSecsSinceEpoch())) {
        res.set_header("Retry-After", "60");
        sendError(res, 429, QStringLiteral("Zu viele Anfragen"), QStringLiteral("Bitte warten Sie eine Minute und versuchen Sie es dann noch einmal."));
        return;
    }
    const QString id = text(req.get_param_value("id")).trimmed();
    bool ok = !id.isEmpty() && id.size() <= 9;
    for (QChar c : id)
        ok = ok && c.isDigit() && c.unicode() < 0x80;
    if (!ok) {
        sendError(res, 400, QStringLiteral("Fehlerhafte Anfrage"), QStringLiteral("Das Captcha-Bild braucht die Formular-ID (?id=Zahl)."));
        return;
    }
    QString token = cookie(req, kCookie);
    if (!isToken(token))
        token = newToken();
    const QString code = Captcha::newCode();
    QString error;
    if (!m_store.issueCaptcha(QString::number(id.toInt()), token, address, code, m_clock(), &error)) {
        qWarning("pruvex-server: Captcha nicht gespeichert: %s", qPrintable(error));
        sendError(res, 503, QStringLiteral("Vorübergehend nicht verfügbar"), QStringLiteral("Das Captcha kann gerade nicht erzeugt werden."));
        return;
    }
    // A page on another site loads the picture cross-site: only a Secure
    // SameSite=None cookie travels then, which needs https.
    const QString attributes = viaHttps(req) ? QStringLiteral("; SameSite=None; Secure") : QStringLiteral("; SameSite=Lax");
    res.set_header("Set-Cookie", utf8(QStringLiteral("%1=%2; Path=%3; Max-Age=%4; HttpOnly%5")
                                          .arg(QLatin1String(kCookie), token, m_config.basePath)
                                          .arg(m_config.captchaLifetimeSeconds)
                                          .arg(attributes)));
    res.set_header("Cache-Control", "no-store");
    const QByteArray png = Captcha::png(code);
    res.set_content(png.constData(), size_t(png.size()), "image/png");
}

void QuizServer::handlePost(const httplib::Request &req, httplib::Response &res, const httplib::ContentReader &reader)
{
    if (route(req.path) != Route::Quiz) {
        if (route(req.path) == Route::Captcha) {
            res.set_header("Allow", "GET, HEAD");
            sendError(res, 405, QStringLiteral("Methode nicht erlaubt"), QStringLiteral("Das Captcha-Bild wird mit GET abgerufen."));
        } else {
            sendError(res, 404, QStringLiteral("Seite nicht gefunden"), QStringLiteral("Unter dieser Adresse gibt es nichts."));
        }
        res.set_header("Connection", "close");
        return;
    }
    const QString address = clientAddress(req);
    if (!m_limiter->allow(address, QDateTime::currentMSecsSinceEpoch())) {
        res.set_header("Retry-After", "60");
        res.set_header("Connection", "close");
        sendError(res, 429, QStringLiteral("Zu viele Anfragen"),
                  QStringLiteral("Von Ihrer Adresse kamen in der letzten Minute zu viele Formulare. Bitte warten Sie eine Minute und "
                                 "senden Sie dann noch einmal (mit der Zurück-Taste kommen Sie zum ausgefüllten Quiz)."));
        return;
    }
    const size_t maxBody = size_t(m_config.maxBodyKb) * 1024;
    auto tooLarge = [&] {
        res.set_header("Connection", "close");
        sendError(res, 413, QStringLiteral("Zu große Anfrage"),
                  QStringLiteral("Das gesendete Formular ist größer als die erlaubten %1 KB.").arg(m_config.maxBodyKb));
    };
    if (req.has_header("Content-Length") && req.get_header_value<uint64_t>("Content-Length") > maxBody) {
        tooLarge();
        return;
    }
    const std::string type = req.get_header_value("Content-Type");
    if (type.rfind("application/x-www-form-urlencoded", 0) != 0) {
        res.set_header("Connection", "close");
        sendError(res, 400, QStringLiteral("Kein Quiz-Formular"),
                  QStringLiteral("Diese Adresse wertet Quiz-Seiten aus, die mit Pruvex erstellt wurden; die Anfrage ist kein solches Formular."));
        return;
    }
    std::string body;
    bool over = false;
    const bool read = reader([&](const char *data, size_t length) {
        if (body.size() + length > maxBody) {
            over = true;
            return false;
        }
        body.append(data, length);
        return true;
    });
    if (over || res.status == 413) {
        tooLarge();
        return;
    }
    if (!read) {
        res.set_header("Connection", "close");
        sendError(res, 400, QStringLiteral("Fehlerhafte Anfrage"), QStringLiteral("Das Formular kam nicht vollständig an."));
        return;
    }

    FormBody form;
    if (form.parse(body, m_config.maxFields) == FormBody::Status::TooManyFields) {
        sendError(res, 413, QStringLiteral("Zu große Anfrage"),
                  QStringLiteral("Das Formular hat mehr als %1 Felder; dieser Server nimmt höchstens %1 an.").arg(m_config.maxFields));
        return;
    }
    const SubmissionReader::Result read_ = SubmissionReader::read(form, m_config.maxQuestions);
    switch (read_.outcome) {
    case SubmissionReader::Outcome::Ok:
        break;
    case SubmissionReader::Outcome::TooManyQuestions:
        sendError(res, 413, QStringLiteral("Zu große Anfrage"), read_.message);
        return;
    case SubmissionReader::Outcome::NotPruvex:
        sendError(res, 400, QStringLiteral("Kein Quiz-Formular"), read_.message);
        return;
    case SubmissionReader::Outcome::Inconsistent:
        sendError(res, 400, QStringLiteral("Fehlerhaftes Quiz-Formular"),
                  read_.message + QStringLiteral("\nDie Antworten wurden nicht gespeichert. Bitte melden Sie das der Person, die das Quiz "
                                                 "veröffentlicht hat."));
        return;
    }
    const Submission &s = read_.submission;

    if (s.captcha) {
        const Store::CaptchaCheck check =
            m_store.useCaptcha(s.formId, cookie(req, kCookie), address, s.captchaInput, m_clock(), m_config.captchaLifetimeSeconds);
        if (check != Store::CaptchaCheck::Right) {
            if (isWebAddress(s.captchaErrorPage)) {
                res.status = 303;
                res.set_header("Location", utf8(s.captchaErrorPage));
                res.set_header("Cache-Control", "no-cache");
                return;
            }
            QString why;
            switch (check) {
            case Store::CaptchaCheck::Missing:
                why = QStringLiteral("Es wurde kein Sicherheitscode eingegeben, oder zu diesem Formular wurde kein Code ausgegeben.");
                break;
            case Store::CaptchaCheck::Expired:
                why = QStringLiteral("Der Sicherheitscode ist abgelaufen (er gilt %1 Minuten).").arg(m_config.captchaLifetimeSeconds / 60);
                break;
            case Store::CaptchaCheck::Used:
                why = QStringLiteral("Dieser Sicherheitscode wurde schon verwendet; jeder Code gilt nur für einen Versuch.");
                break;
            default:
                why = QStringLiteral("Der eingegebene Sicherheitscode ist falsch.");
                break;
            }
            const QString referer = text(req.get_header_value("Referer"));
            sendPage(res, 403,
                     Pages::error(QStringLiteral("Sicherheitscode nicht angenommen"),
                                  why + QStringLiteral("\nIhre Antworten wurden nicht gespeichert. Gehen Sie zurück zum Quiz, laden Sie "
                                                       "die Seite neu, damit ein neuer Code erscheint, und senden Sie noch einmal."),
                                  isWebAddress(referer) ? referer : QString()));
            return;
        }
    }

    QString error;
    qint64 id = 0;
    const QString time = QDateTime::fromSecsSinceEpoch(m_clock(), Qt::UTC).toString(Qt::ISODate);
    if (!m_store.saveSubmission(s, time, &id, &error)) {
        qWarning("pruvex-server: Formular %s nicht gespeichert: %s", qPrintable(s.formId), qPrintable(error));
        sendError(res, 503, QStringLiteral("Vorübergehend nicht verfügbar"),
                  QStringLiteral("Ihre Antworten konnten gerade nicht gespeichert werden. Bitte gehen Sie zurück und senden Sie in "
                                 "einigen Minuten noch einmal."));
        return;
    }
    if (m_stored)
        m_stored(id, s);
    // The page is the answer to the post itself, without a redirect, and may
    // stay in the browser's history, so back and forward need no new send.
    sendPage(res, 200, s.showResult ? Pages::result(s) : Pages::thanks(s), "private, max-age=3600");
}
