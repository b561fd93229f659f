#include "platform/web/documentwalk.h"

#include "platform/web/scriptanswer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {
constexpr quint32 kWorld = QWebEngineScript::ApplicationWorld;

QString jsonList(const QStringList& names) {
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(names)).toJson(QJsonDocument::Compact));
}
} // namespace

namespace DocumentWalk {

void ReadInputs(QWebEnginePage* page, QObject* context,
                std::function<void(const QList<DocumentInput>&)> done) {
    if (!done) {
        return;
    }
    if (page == nullptr) {
        done({});
        return;
    }
    const QPointer<QObject> guard(context);
    page->runJavaScript(
        QStringLiteral("(function(){var b=document.body;if(!b)return[];"
                       "var l=b.getElementsByTagName('input'),r=[];"
                       "for(var i=0;i<l.length;i++){r.push([String(l[i].name),!!l[i].checked]);}"
                       "return r;})()"),
        kWorld, [guard, done = std::move(done)](const QVariant& result) {
            if (guard.isNull()) {
                return;
            }
            done(ScriptAnswer::Inputs(result));
        });
}

void SetInputsChecked(QWebEnginePage* page, const QStringList& names, bool checked) {
    if (page == nullptr || names.isEmpty()) {
        return;
    }
    page->runJavaScript(QStringLiteral("(function(n,c){var b=document.body;if(!b)return;"
                                       "var l=b.getElementsByTagName('input');"
                                       "for(var i=0;i<l.length;i++){"
                                       "if(n.indexOf(String(l[i].name))>=0)l[i].checked=c;}})(") +
                            jsonList(names) + QLatin1Char(',') +
                            (checked ? QLatin1String("true") : QLatin1String("false")) +
                            QLatin1Char(')'),
                        kWorld);
}

void UncheckInputsContaining(QWebEnginePage* page, const QString& part) {
    if (page == nullptr || part.isEmpty()) {
        return;
    }
    page->runJavaScript(QStringLiteral("(function(p){var b=document.body;if(!b)return;"
                                       "var l=b.getElementsByTagName('input');"
                                       "for(var i=0;i<l.length;i++){if(l[i].checked&&"
                                       "String(l[i].name).toLowerCase().indexOf(p)>=0)"
                                       "l[i].checked=false;}})(") +
                            jsonList({part.toLower()}) + QStringLiteral("[0])"),
                        kWorld);
}

void ReadScrollPosition(QWebEnginePage* page, QObject* context, std::function<void(QPoint)> done) {
    if (!done) {
        return;
    }
    if (page == nullptr) {
        done({});
        return;
    }
    const QPointer<QObject> guard(context);
    page->runJavaScript(QStringLiteral("[window.scrollX||0,window.scrollY||0]"), kWorld,
                        [guard, done = std::move(done)](const QVariant& result) {
                            if (guard.isNull()) {
                                return;
                            }
                            done(ScriptAnswer::Position(result).value_or(QPoint()));
                        });
}

void SetScrollPosition(QWebEnginePage* page, QPoint position) {
    if (page == nullptr) {
        return;
    }
    page->runJavaScript(
        QStringLiteral("window.scrollTo(%1,%2)").arg(position.x()).arg(position.y()), kWorld);
}

} // namespace DocumentWalk
