#pragma once
// TileSource: map tiles from a tile server named by a URL template such as
// "https://tile.example.org/{z}/{x}/{y}.png". Asking for a tile returns it at
// once when it is decoded in memory and otherwise fetches it in the
// background, through a disk cache in the user's cache folder; tileArrived()
// then says that a repaint will show it. Without a template nothing goes to
// the network. A tile that fails (an error answer, no connection, too slow)
// is not asked for again for a while, nor before the template changes.

#include "track/tile_grid.h"

#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>

#include <deque>

class QNetworkAccessManager;
class QNetworkDiskCache;
class QNetworkReply;
class QUrl;

namespace veltrin {

struct TileSourceOptions {
    QString applicationVersion;  // sent in the User-Agent "Veltrin View/<version>"
    QString cacheDirectory;      // empty: "tiles" in the user's cache folder
    qint64 diskCacheBytes = 200LL * 1024 * 1024;
    int memoryCacheTiles = 128;    // decoded tiles kept, 256 KiB each
    int maxInFlight = 4;           // requests under way at once
    int timeoutMs = 10000;         // a request that transfers nothing this long fails
    int maxQueued = 96;            // wanted tiles waiting; the oldest are dropped
    qint64 retryAfterMs = 120000;  // a failed tile is asked for again after this
};

size_t qHash(const TileKey& key, size_t seed = 0) noexcept;

class TileSource : public QObject {
    Q_OBJECT

public:
    explicit TileSource(TileSourceOptions options, QObject* parent = nullptr);
    ~TileSource() override;

    // An empty template switches tiles off. Setting a template drops what is
    // queued, under way, kept in memory or failed.
    void SetUrlTemplate(const QString& urlTemplate);
    const QString& UrlTemplate() const { return urlTemplate_; }
    bool Enabled() const { return !urlTemplate_.isEmpty(); }
    QString UserAgent() const;

    // The decoded tile, or null when it is not in memory; then it is fetched
    // unless it failed or is already on its way. The newest wish goes first.
    const QImage* Tile(const TileKey& key);
    // The tile when it is in memory, without fetching it.
    const QImage* Cached(const TileKey& key) const;

    int InFlight() const { return static_cast<int>(replies_.size()); }
    int Failures() const { return static_cast<int>(failed_.size()); }

signals:
    void tileArrived();

private:
    void EnsureNetwork();
    void StartRequests();
    void Finished(QNetworkReply* reply);
    void AbortAll();
    void KeepLonger(const QUrl& url);
    QImage KeptCopy(const QUrl& url) const;

    TileSourceOptions options_;
    QString urlTemplate_;
    QNetworkAccessManager* network_ = nullptr;  // made on the first template
    QNetworkDiskCache* diskCache_ = nullptr;    // owned by network_
    QCache<TileKey, QImage> memory_;
    std::deque<TileKey> queue_;  // oldest first
    QSet<TileKey> queued_;
    QHash<QNetworkReply*, TileKey> replies_;
    QSet<TileKey> underWay_;         // the keys of replies_
    QHash<TileKey, qint64> failed_;  // when it failed, on clock_
    QElapsedTimer clock_;
};

}  // namespace veltrin
