#pragma once

#include <QAbstractListModel>
#include <QJsonArray>
#include <QVariantList>

#include <memory>
#include <vector>

// One hosted video as the server describes it.
struct VideoEntry
{
    QString userName;
    QString copyright;
    QString title;
    QString description;
    QString creationDate;
    QString thumbLink;
    QVariantList presets;
    QString sourceUrl;
    QString key;
};

// The videos of the last listing, for the hosting wall's grid.
class VideosListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles
    {
        UserNameRole = Qt::UserRole + 1,
        CopyrightRole,
        TitleRole,
        DescriptionRole,
        CreationDateRole,
        ThumbLinkRole,
        PresetsRole,
        SourceUrlRole,
        KeyRole
    };

    explicit VideosListModel(QObject* parent = nullptr);
    ~VideosListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QHash<int, QByteArray> roleNames() const override;

    void clearVideos();
    // Expects an empty model: every listing empties it first.
    void addVideos(const QJsonArray& list);

private:
    std::vector<std::unique_ptr<VideoEntry>> entries;
};
