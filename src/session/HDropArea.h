#pragma once

#include <QList>
#include <QQuickItem>
#include <QUrl>

// An item that takes files (or any URLs) dropped from the desktop. The scene opens whatever
// arrives in filePathList; the change signal comes with every drop, so dropping the same file
// again opens it again.
class HDropArea : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QList<QUrl> filePathList READ filePathList WRITE setFilePathList NOTIFY filePathListChanged)

public:
    explicit HDropArea(QQuickItem* parent = nullptr);

    QList<QUrl> filePathList() const { return filePaths; }
    void setFilePathList(const QList<QUrl>& urls);

signals:
    void filePathListChanged();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QList<QUrl> filePaths;
};
