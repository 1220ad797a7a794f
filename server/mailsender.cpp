#include "mailsender.h"

#include <QFile>

#include <curl/curl.h>

#include <cstring>
#include <mutex>

namespace {

struct Upload {
    const QByteArray *data;
    qsizetype offset = 0;
};

size_t readMessage(char *buffer, size_t size, size_t count, void *user)
{
    auto *upload = static_cast<Upload *>(user);
    const qsizetype left = upload->data->size() - upload->offset;
    const qsizetype n = qMin<qsizetype>(left, qsizetype(size * count));
    std::memcpy(buffer, upload->data->constData() + upload->offset, size_t(n));
    upload->offset += n;
    return size_t(n);
}

// Keeps the last line the server sent, for the stored mail state.
int lastAnswer(CURL *, curl_infotype type, char *data, size_t size, void *user)
{
    if (type == CURLINFO_HEADER_IN) {
        const QString line = QString::fromUtf8(data, qsizetype(size)).trimmed();
        if (!line.isEmpty())
            *static_cast<QString *>(user) = line;
    }
    return 0;
}

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

MailSender::MailSender(const MailSettings &settings)
    : m_settings(settings)
{
    initCurlOnce();
}

MailSender::Result MailSender::send(const QStringList &recipients, const QByteArray &message) const
{
    Result result;
    CURL *curl = curl_easy_init();
    if (!curl) {
        result.answer = QStringLiteral("libcurl konnte nicht gestartet werden");
        return result;
    }
    const bool smtps = m_settings.security == MailSettings::Security::Tls;
    QString host = m_settings.host;
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        host = QLatin1Char('[') + host + QLatin1Char(']'); // IPv6 literal
    const QByteArray url = (QLatin1String(smtps ? "smtps://" : "smtp://") + host + QLatin1Char(':')
                            + QString::number(m_settings.port) + QStringLiteral("/localhost"))
                               .toUtf8();
    const QByteArray from = ('<' + m_settings.fromAddress + '>').toUtf8();
    const QByteArray user = m_settings.user.toUtf8();
    const QByteArray password = m_settings.password.toUtf8();
    const QByteArray caFile = QFile::encodeName(m_settings.caFile);
    curl_slist *rcpt = nullptr;
    for (const QString &r : recipients)
        rcpt = curl_slist_append(rcpt, ('<' + r + '>').toUtf8().constData());
    Upload upload{&message};
    char error[CURL_ERROR_SIZE] = {0};
    QString answer;

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    if (m_settings.security == MailSettings::Security::StartTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    // The certificate is always checked, against ca_file when one is set.
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(qMin(m_settings.timeoutSeconds, 15)));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, long(m_settings.timeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, lastAnswer);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &answer);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);

    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(rcpt);
    curl_easy_cleanup(curl);

    if (code == CURLE_OK) {
        result.outcome = Outcome::Sent;
        result.answer = answer;
        return result;
    }
    // A 5xx answer or a refused login will not change by trying again.
    result.outcome = (status >= 500 && status < 600) || code == CURLE_LOGIN_DENIED ? Outcome::Permanent
                                                                                   : Outcome::Temporary;
    const QString reason = error[0] ? QString::fromUtf8(error) : QString::fromUtf8(curl_easy_strerror(code));
    result.answer = status >= 400 && !answer.isEmpty() ? answer : reason;
    return result;
}
