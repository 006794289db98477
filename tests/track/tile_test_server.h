#pragma once
// A tile server for the tile tests on 127.0.0.1: answers every GET with one
// PNG tile of a single colour or of four coloured quarters, with 404, or not
// at all, and counts what it was asked.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace veltrin::track_test {

inline const QColor kTileColour{20, 180, 200};
// The quarters of a tile: north-west, north-east, south-west, south-east.
inline const QColor kQuarterColours[4] = {
    {220, 40, 40}, {40, 200, 40}, {40, 40, 220}, {30, 30, 30}};

class TestTileServer : public QObject {
public:
    enum class Answer { Tile, Quarters, NotFound, Never };

    explicit TestTileServer(Answer answer = Answer::Tile) : answer_(answer)
    {
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(kTileColour);
        if (answer == Answer::Quarters)
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x)
                    tile.setPixelColor(x, y,
                                       kQuarterColours[(y < 128 ? 0 : 2) + (x < 128 ? 0 : 1)]);
        QBuffer buffer(&png_);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "PNG");
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        });
        server_.listen(QHostAddress::LocalHost);
    }

    // From now on answers so.
    void SetAnswer(Answer answer) { answer_ = answer; }
    bool Listening() const { return server_.isListening(); }
    QString UrlTemplate() const
    {
        return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(server_.serverPort());
    }
    int Requests() const { return static_cast<int>(paths_.size()); }
    const QStringList& Paths() const { return paths_; }
    const QByteArray& LastUserAgent() const { return userAgent_; }

private:
    void Read(QTcpSocket* socket)
    {
        QByteArray& buffer = buffers_[socket];
        buffer += socket->readAll();
        for (qsizetype end = buffer.indexOf("\r\n\r\n"); end >= 0;
             end = buffer.indexOf("\r\n\r\n")) {
            const QByteArray head = buffer.left(end);
            buffer.remove(0, end + 4);
            const QList<QByteArray> lines = head.split('\n');
            const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
            paths_.append(QString::fromLatin1(request.value(1)));
            for (const QByteArray& line : lines)
                if (line.toLower().startsWith("user-agent:"))
                    userAgent_ = line.mid(11).trimmed();
            Reply(socket, paths_.last());
        }
    }

    void Reply(QTcpSocket* socket, const QString& path)
    {
        static const QRegularExpression tilePath(QStringLiteral("^/\\d+/\\d+/\\d+\\.png$"));
        if (answer_ == Answer::Never)
            return;
        if (answer_ != Answer::NotFound && tilePath.match(path).hasMatch()) {
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                          QByteArray::number(png_.size()) + "\r\n\r\n" + png_);
        } else {
            socket->write(
                "HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\nContent-Length: 9\r\n\r\n"
                "not found");
        }
    }

    Answer answer_;
    QTcpServer server_;
    QByteArray png_;
    QStringList paths_;
    QByteArray userAgent_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

}  // namespace veltrin::track_test
