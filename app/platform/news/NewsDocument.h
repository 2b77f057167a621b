#pragma once

#include <QTextDocument>

// The document of the news panel. A page from the network names pictures
// and style sheets by address, and this document loads none of them: Qt's
// own loading reads any local file a page names (a "file:" address, a path,
// or a relative name against the working folder) on the window thread, so a
// remote page could show the user's own pictures, and a named pipe it names
// would freeze the program. The page shows its text and its links; a picture
// keeps the room the page gives it, empty.
class NewsDocument : public QTextDocument {
public:
    explicit NewsDocument(QObject* parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};
