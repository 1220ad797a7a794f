#pragma once

#include "serverconfig.h"

#include <QString>
#include <functional>
#include <memory>

class Store;
struct Submission;

namespace httplib {
class Server;
struct Request;
struct Response;
class ContentReader;
} // namespace httplib

// The HTTP side of pruvex-server: the routes under the base path, the
// limits, the captcha flow and the pages. Requests run on a pool of
// threads; the store is safe to use from all of them.
class QuizServer
{
public:
    QuizServer(const ServerConfig &config, Store &store);
    ~QuizServer();

    // Binds to the configured host and port (0: a free port). Returns the
    // port, or -1 with a German message in *error.
    int bind(QString *error);
    // Serves until stop(); requests under way are finished first.
    void run();
    void stop();
    // The address of quiz.php on the bound port.
    QString quizAddress() const;

    // The clock in seconds since 1970, for captcha lifetimes; tests move it.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    // The mail step's state for the link-test page.
    void setMailState(const QString &text) { m_mailState = text; }
    // Called after a submission is stored, before the page is sent.
    void setStoredHandler(std::function<void(qint64 id, const Submission &)> handler) { m_stored = std::move(handler); }

    static QString version();

private:
    void handleGet(const httplib::Request &req, httplib::Response &res);
    void handlePost(const httplib::Request &req, httplib::Response &res, const httplib::ContentReader &reader);
    void handleOtherMethod(const httplib::Request &req, httplib::Response &res);
    void handleError(const httplib::Request &req, httplib::Response &res);
    // quiz.php without a form: the link-test page or what the address is for.
    void quizPage(const std::string &target, httplib::Response &res);
    void captchaImage(const httplib::Request &req, httplib::Response &res);
    // The participant's address: the peer, or behind a trusted proxy the
    // last address of X-Forwarded-For that is not a trusted proxy itself.
    QString clientAddress(const httplib::Request &req) const;
    bool viaHttps(const httplib::Request &req) const;
    enum class Route { None, Quiz, Captcha };
    Route route(const std::string &path) const;

    ServerConfig m_config;
    Store &m_store;
    class Listener;
    std::unique_ptr<Listener> m_server;
    std::unique_ptr<class RateLimiter> m_limiter;
    std::function<qint64()> m_clock;
    std::function<void(qint64, const Submission &)> m_stored;
    QString m_mailState;
    int m_port = -1;
};
