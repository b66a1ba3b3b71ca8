#include "VideosListModel.h"

#include <QJsonObject>

VideosListModel::VideosListModel(QObject* parent) : QAbstractListModel(parent)
{
}

VideosListModel::~VideosListModel() = default;

int VideosListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(entries.size());
}

QVariant VideosListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= int(entries.size())) {
        return QVariant();
    }
    const VideoEntry& entry = *entries.at(size_t(index.row()));
    switch (role) {
    case UserNameRole:
        return entry.userName;
    case CopyrightRole:
        return entry.copyright;
    case TitleRole:
        return entry.title;
    case DescriptionRole:
        return entry.description;
    case CreationDateRole:
        return entry.creationDate;
    case ThumbLinkRole:
        return entry.thumbLink;
    case PresetsRole:
        return entry.presets;
    case SourceUrlRole:
        return entry.sourceUrl;
    case KeyRole:
        return entry.key;
    default:
        return QVariant();
    }
}

QVariant VideosListModel::headerData(int, Qt::Orientation, int) const
{
    return QVariant();
}

Qt::ItemFlags VideosListModel::flags(const QModelIndex& index) const
{
    // The root of a list has no flags; views and proxies rely on it.
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

QHash<int, QByteArray> VideosListModel::roleNames() const
{
    return {
        {UserNameRole, "userName"},       {CopyrightRole, "copyright"},       {TitleRole, "title"},
        {DescriptionRole, "description"}, {CreationDateRole, "creationDate"}, {ThumbLinkRole, "thumbLink"},
        {PresetsRole, "presets"},         {SourceUrlRole, "sourceUrl"},       {KeyRole, "key"}};
}

void VideosListModel::clearVideos()
{
    if (entries.empty()) {
        return;
    }
    beginRemoveRows(QModelIndex(), 0, int(entries.size()) - 1);
    entries.clear();
    endRemoveRows();
}

void VideosListModel::addVideos(const QJsonArray& list)
{
    if (list.isEmpty()) {
        return;
    }
    const int first = int(entries.size());
    beginInsertRows(QModelIndex(), first, first + list.size() - 1);
    for (const QJsonValue& value : list) {
        const QJsonObject object = value.toObject();
        auto entry = std::make_unique<VideoEntry>();
        entry->userName = object.value(QLatin1String("username")).toString();
        entry->copyright = object.value(QLatin1String("copyright")).toString();
        entry->title = object.value(QLatin1String("title")).toString();
        entry->description = object.value(QLatin1String("description")).toString();
        entry->creationDate = object.value(QLatin1String("creation_date")).toString();
        entry->thumbLink = object.value(QLatin1String("thumb_link")).toString();
        entry->presets = object.value(QLatin1String("presets")).toArray().toVariantList();
        entry->sourceUrl = object.value(QLatin1String("source")).toString();
        entry->key = object.value(QLatin1String("key")).toString();
        entries.push_back(std::move(entry));
    }
    endInsertRows();
}
