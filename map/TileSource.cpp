#include "map/TileSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace kestrova::map {

namespace {

std::string quoted(const QString& path) {
    return "\"" + path.toStdString() + "\"";
}

// z/x/y.png under a folder; the zooms are its folders named by a number.
class FolderTiles : public TileSource {
  public:
    explicit FolderTiles(const QString& path) : dir_(path) { name_ = path; }

    // The problem, or "" when the folder holds tiles.
    std::string open() {
        int lo = kMaxZoom + 1, hi = kMinZoom - 1;
        const QStringList zooms = dir_.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& z : zooms) {
            bool number = false;
            const int zoom = z.toInt(&number);
            if (number && zoom >= 0 && zoom <= kMaxZoom) {
                lo = std::min(lo, zoom);
                hi = std::max(hi, zoom);
            }
        }
        if (lo > hi) {
            return "holds no z/x/y.png tiles";
        }
        minZoom_ = lo;
        maxZoom_ = hi;
        QFile metadata(dir_.filePath(QStringLiteral("metadata.json")));
        if (metadata.open(QIODevice::ReadOnly)) {
            attribution_ = QJsonDocument::fromJson(metadata.read(1 << 16))
                               .object()
                               .value(QStringLiteral("attribution"))
                               .toString();
        }
        return {};
    }

    QByteArray tile(const TileKey& key) override {
        QFile f(dir_.filePath(QStringLiteral("%1/%2/%3.png").arg(key.z).arg(key.x).arg(key.y)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

  private:
    QDir dir_;
};

// An MBTiles file: SQLite with a tiles table whose rows count from the bottom.
class MbTiles : public TileSource {
  public:
    explicit MbTiles(const QString& path) : connection_(connectionName()) { name_ = path; }
    ~MbTiles() override {
        query_ = QSqlQuery();
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }

    std::string open() {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        if (!db.isValid()) {
            return "cannot be read: Qt's SQLite driver is not installed";
        }
        db.setDatabaseName(name_);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            return "cannot be read: " + db.lastError().text().toStdString();
        }
        return readMetadata(db);
    }

    QByteArray tile(const TileKey& key) override {
        query_.bindValue(0, key.z);
        query_.bindValue(1, key.x);
        query_.bindValue(2, TmsRow(key));
        if (!query_.exec() || !query_.next()) {
            return {};
        }
        return query_.value(0).toByteArray();
    }

  private:
    static QString connectionName() {
        static int count = 0;
        return QStringLiteral("kestrova-map-tiles-%1").arg(++count);
    }

    std::string readMetadata(QSqlDatabase& db) {
        QSqlQuery zooms(db);
        if (!zooms.exec(QStringLiteral("SELECT MIN(zoom_level), MAX(zoom_level) FROM tiles"))) {
            const QString why = zooms.lastError().databaseText();
            return why.contains(QLatin1String("no such table"))
                       ? "is not an MBTiles file (no tiles table)"
                       : "is damaged: " + why.toStdString();
        }
        if (!zooms.next() || zooms.value(0).isNull()) {
            return "holds no tiles";
        }
        minZoom_ = std::max(0, zooms.value(0).toInt());
        maxZoom_ = std::min(kMaxZoom, zooms.value(1).toInt());
        QSqlQuery meta(db);
        if (meta.exec(QStringLiteral("SELECT name, value FROM metadata"))) {
            while (meta.next()) {
                const QString name = meta.value(0).toString();
                if (name == QLatin1String("attribution")) {
                    attribution_ = meta.value(1).toString();
                } else if (name == QLatin1String("format") &&
                           meta.value(1).toString() == QLatin1String("pbf")) {
                    return "holds vector tiles (pbf), which the map cannot draw";
                }
            }
        }
        query_ = QSqlQuery(db);
        query_.prepare(
            QStringLiteral("SELECT tile_data FROM tiles WHERE zoom_level = ? AND "
                           "tile_column = ? AND tile_row = ?"));
        return {};
    }

    QString connection_;
    QSqlQuery query_;
};

template <class Source>
OpenedTiles opened(const QString& path) {
    auto source = std::make_unique<Source>(path);
    const std::string problem = source->open();
    if (!problem.empty()) {
        return {nullptr, quoted(path) + " " + problem};
    }
    return {std::move(source), {}};
}

}  // namespace

OpenedTiles OpenTiles(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const QString p = QString::fromStdString(path);
    const QFileInfo info(p);
    if (!info.exists()) {
        return {nullptr, quoted(p) + ": no such file or folder"};
    }
    if (!info.isReadable() || (info.isDir() && !info.isExecutable())) {
        return {nullptr, quoted(p) + " cannot be read: permission denied"};
    }
    if (info.isDir()) {
        return opened<FolderTiles>(p);
    }
    QFile f(p);
    if (!f.open(QIODevice::ReadOnly)) {
        return {nullptr, quoted(p) + " cannot be read: " + f.errorString().toStdString()};
    }
    // SQLite would take any file and fail later; its header says what the file is.
    if (f.read(16) != QByteArray("SQLite format 3\0", 16)) {
        return {nullptr, quoted(p) + " is neither a tile folder nor an MBTiles file"};
    }
    return opened<MbTiles>(p);
}

}  // namespace kestrova::map
