#include "shell/UVersionCheck.h"

#include "common/UComon.h"
#include "platform/text/StrConv.h"

#include <QUrl>
#include <QUrlQuery>

int32_t Conv_Version(const QString &Ver_str)
{
    const qsizetype blank = Ver_str.indexOf(QLatin1Char(' '));
    const QString ver = plat::Trim(blank < 0 ? Ver_str : Ver_str.mid(blank + 1));
    if (ver.size() < 5)
        return -1;
    // "d.ddd": skip the point.
    const QString digits = QString(ver.at(0)) + ver.at(2) + ver.at(3) + ver.at(4);
    return plat::StrToIntDef(digits, -1);
}

bool Check_Version(const QString &baseAddress, int timeoutMs)
{
    QUrl url(baseAddress);
    url.setPath(QString::fromLatin1(Version_Request_Path));
    QUrlQuery query;
    query.addQueryItem(QString::fromLatin1(Version_Query_Key), QString::fromLatin1(Software_Code));
    url.setQuery(query);

    const QString reply = plat::Trim(plat::HttpClient(timeoutMs, timeoutMs).Get(url));
    const QString r = reply.toUpper();
    if (r.isEmpty() || r == QLatin1String("VER. 0.000"))
        return false;

    const int32_t own = Conv_Version(QString::fromLatin1(Program_Version));
    const int32_t published = Conv_Version(reply);
    return own != -1 && published != -1 && own < published;
}

QString Download_Link(const QString &text, const QString &baseAddress)
{
    QUrl url(baseAddress);
    url.setPath(QString::fromLatin1(Download_Page_Path));
    url.setFragment(QString::fromLatin1(Download_Page_Anchor));
    return QStringLiteral("<a href=\"") + url.toString(QUrl::FullyEncoded) + QStringLiteral("\">") +
           text + QStringLiteral("</a>");
}
