#pragma once

#include <QDialog>

class OrlixCategoryTree;
class QPushButton;
class QTreeWidget;

// Picks one folder of the messages database, for moving or copying messages.
class frmChooseCategoryTree : public QDialog {
    Q_OBJECT
public:
    explicit frmChooseCategoryTree(QWidget* parent = nullptr);

    // The chosen folder's number; 0 for a cancel or no folder tree.
    static qint16 ChooseCategory(const OrlixCategoryTree* clsCategory, bool IncludeTopLevel,
                                 qint16 InitialCategory, const QString& Caption,
                                 QWidget* ParentForm);

    QTreeWidget* treeCategories = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The folder number of a node key ("m" and the number); 0 when it is none.
    static qint16 FolderOfKey(const QString& key);

    static constexpr int kMinWidthTwips = 3000;
    static constexpr int kMinHeightTwips = 4000;
    static constexpr int kMaxTwips = 10000;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void cmdOK_Click();
    void cmdCancel_Click();

    bool cancelled_ = false;
};
