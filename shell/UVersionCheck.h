// Asking the maker's version service whether a newer release is published. Used by the options
// dialog's "Check Available Update" button and by the main window's version timer.
#pragma once

#include "platform/net/HttpClient.h"

#include <QString>
#include <cstdint>

// The maker's web site, home of the version service and the download page. A neutral host:
// no real service answers here, so the check finds no newer version until one is configured.
inline constexpr char Maker_Web_Site[] = "http://www.example.com";

inline constexpr char Version_Request_Path[] = "/home/download/GetversionSW.asp";
inline constexpr char Version_Query_Key[] = "nomesw";
inline constexpr char Download_Page_Path[] = "/Home/download/download.asp";
inline constexpr char Download_Page_Anchor[] = "QX40300";

// A version text ("VER. 1.006", "1.005") to an integer (1006, 1005): the part after the first
// blank, trimmed, its 1st, 3rd, 4th and 5th characters read as a decimal number; -1 when that
// is not a number or the part is shorter than five characters.
int32_t Conv_Version(const QString &Ver_str);

// True when the service at baseAddress (scheme, host and optional port) publishes a version
// newer than the program's own. A failed request counts as "no newer version" and is not
// reported. Blocks the calling thread for at most about twice timeoutMs.
bool Check_Version(const QString &baseAddress = QString::fromLatin1(Maker_Web_Site),
                   int timeoutMs = plat::HttpClient::DefaultTimeoutMs);

// The link to the download page as an anchor around text, for the link labels.
QString Download_Link(const QString &text,
                      const QString &baseAddress = QString::fromLatin1(Maker_Web_Site));
