#include "app/WebLinks.h"

namespace halvaro::app {

namespace {

constexpr char SearchEngineAddress[] = "https://www.google.com/search?q=";

const char* PagePath(WebPage page)
{
    switch (page) {
    case WebPage::Forum: return "forum/";
    case WebPage::OnlineHelp: return "halvaro/help/";
    case WebPage::Home: return "";
    case WebPage::SoftwareUpdate: return "halvaro/update/";
    case WebPage::Donate: return "donate/";
    case WebPage::MakeMoney: return "affiliates/";
    case WebPage::FullEdition: return "halvaro/full-edition/";
    case WebPage::MoreSoftware: return "software/";
    }
    return "";
}

} // namespace

QUrl PageAddress(WebPage page)
{
    return QUrl(QString::fromLatin1(OrrelaneBaseAddress) + QString::fromLatin1(PagePath(page)));
}

QString LatitudeLongitudeQuery(const QString& city, const QString& state, const QString& country)
{
    return city + QLatin1Char(' ') + state + QLatin1Char(' ') + country + QStringLiteral(" Latitude Longitude");
}

QUrl SiteSearchAddress(const QString& query, const QUrl& site)
{
    const QString searchText = QStringLiteral("site:") + site.host() + QLatin1Char(' ') + query;
    return QUrl::fromEncoded(QByteArray(SearchEngineAddress) + QUrl::toPercentEncoding(searchText), QUrl::StrictMode);
}

QString PageNotOpenedMessage(const QUrl& address)
{
    return QStringLiteral("The page could not be opened. To visit it, copy this address into a web browser:\n\n")
        + address.toString(QUrl::FullyEncoded);
}

} // namespace halvaro::app
