#pragma once

#include <QString>
#include <QUrl>

namespace halvaro::app {

// Every address the window opens lies under this one base.
inline constexpr char OrrelaneBaseAddress[] = "https://www.orrelane.com/";

enum class WebPage { Forum, OnlineHelp, Home, SoftwareUpdate, Donate, MakeMoney, FullEdition, MoreSoftware };

QUrl PageAddress(WebPage page);

// The place look-up text: city, state and country as typed, then
// " Latitude Longitude".
QString LatitudeLongitudeQuery(const QString& city, const QString& state, const QString& country);

// The site search: a web search for the query restricted to the site's host,
// the whole search text URL-encoded.
QUrl SiteSearchAddress(const QString& query, const QUrl& site);

// What the user reads when no browser took an address: the address itself,
// fully encoded, so that a copy of it works anywhere.
QString PageNotOpenedMessage(const QUrl& address);

} // namespace halvaro::app
