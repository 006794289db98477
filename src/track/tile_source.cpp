#include "track/tile_source.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QUrl>

#include <memory>
#include <utility>

namespace veltrin {

namespace {

// How long a tile whose answer named no time of its own is kept.
constexpr int kUnnamedLifetimeDays = 7;

}  // namespace

size_t qHash(const TileKey& key, size_t seed) noexcept
{
    return qHashMulti(seed, key.zoom, key.x, key.y);
}

TileSource::TileSource(TileSourceOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options))
{
    memory_.setMaxCost(std::max(options_.memoryCacheTiles, 1));
    clock_.start();
}

TileSource::~TileSource()
{
    AbortAll();
}

void TileSource::SetUrlTemplate(const QString& urlTemplate)
{
    const QString trimmed = urlTemplate.trimmed();
    if (trimmed == urlTemplate_)
        return;
    AbortAll();
    memory_.clear();
    failed_.clear();
    urlTemplate_ = trimmed;
}

QString TileSource::UserAgent() const
{
    return QStringLiteral("Veltrin View/") + options_.applicationVersion;
}

const QImage* TileSource::Tile(const TileKey& key)
{
    if (const QImage* image = memory_.object(key))
        return image;
    if (!Enabled() || underWay_.contains(key))
        return nullptr;
    if (const auto failed = failed_.constFind(key); failed != failed_.constEnd()) {
        if (clock_.elapsed() - failed.value() < options_.retryAfterMs)
            return nullptr;
        failed_.erase(failed);
    }
    if (queued_.contains(key)) {
        // Wanted again: to the front of the line.
        std::erase(queue_, key);
    } else {
        queued_.insert(key);
        if (static_cast<int>(queue_.size()) >= options_.maxQueued) {
            queued_.remove(queue_.front());
            queue_.pop_front();
        }
    }
    queue_.push_back(key);
    EnsureNetwork();
    StartRequests();
    return nullptr;
}

const QImage* TileSource::Cached(const TileKey& key) const
{
    return memory_.object(key);
}

void TileSource::EnsureNetwork()
{
    if (network_ != nullptr)
        return;
    network_ = new QNetworkAccessManager(this);
    diskCache_ = new QNetworkDiskCache(network_);
    QString folder = options_.cacheDirectory;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                 QStringLiteral("/tiles");
    diskCache_->setCacheDirectory(folder);
    diskCache_->setMaximumCacheSize(options_.diskCacheBytes);
    network_->setCache(diskCache_);
    connect(network_, &QNetworkAccessManager::finished, this, &TileSource::Finished);
}

void TileSource::StartRequests()
{
    while (!queue_.empty() && InFlight() < options_.maxInFlight) {
        const TileKey key = queue_.back();
        queue_.pop_back();
        queued_.remove(key);
        const QUrl url(QString::fromStdString(TileUrl(urlTemplate_.toStdString(), key)));
        if (!url.isValid() || url.isRelative()) {
            failed_.insert(key, clock_.elapsed());
            continue;
        }
        QNetworkRequest request(url);
        request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
        // A kept tile is used without asking the server again: maps change
        // slowly, and so the map also shows without a connection.
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::PreferCache);
        request.setTransferTimeout(options_.timeoutMs);
        replies_.insert(network_->get(request), key);
        underWay_.insert(key);
    }
}

void TileSource::Finished(QNetworkReply* reply)
{
    reply->deleteLater();
    const auto found = replies_.constFind(reply);
    if (found == replies_.constEnd())
        return;  // aborted when the template changed
    const TileKey key = found.value();
    replies_.erase(found);
    underWay_.remove(key);
    QImage image;
    if (reply->error() == QNetworkReply::NoError) {
        image.loadFromData(reply->readAll());
        KeepLonger(reply->url());
    } else {
        // Without a connection or on a server error a kept copy still serves,
        // even past its time.
        image = KeptCopy(reply->url());
    }
    if (image.isNull()) {
        failed_.insert(key, clock_.elapsed());
    } else {
        memory_.insert(key, new QImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)));
        emit tileArrived();
    }
    StartRequests();
}

void TileSource::KeepLonger(const QUrl& url)
{
    // The disk cache serves only answers that have not expired; an answer
    // that names no time of its own would never be served again.
    QNetworkCacheMetaData metaData = diskCache_->metaData(url);
    if (!metaData.isValid() || metaData.expirationDate().isValid())
        return;
    bool named = false;
    for (const QNetworkCacheMetaData::RawHeader& header : metaData.rawHeaders()) {
        const QByteArray name = header.first.toLower();
        named = named || name == "cache-control" || name == "last-modified";
    }
    if (named)
        return;
    metaData.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(kUnnamedLifetimeDays));
    diskCache_->updateMetaData(metaData);
}

QImage TileSource::KeptCopy(const QUrl& url) const
{
    QImage image;
    if (const std::unique_ptr<QIODevice> data(diskCache_->data(url)); data)
        image.loadFromData(data->readAll());
    return image;
}

void TileSource::AbortAll()
{
    // Taken out first, so that the finished() an abort sends finds nothing.
    const QHash<QNetworkReply*, TileKey> replies = std::exchange(replies_, {});
    underWay_.clear();
    for (QNetworkReply* reply : replies.keys())
        reply->abort();
    queue_.clear();
    queued_.clear();
}

}  // namespace veltrin
