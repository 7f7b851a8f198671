#include "latency/instant_dialogs.h"

namespace brivana::bench {

MsgAnswer InstantDialogs::messageBox(QWidget*, const QString&, int style, const QString&)
{
    ++shown_;
    return style == MsgStyle::yesNoQuestionDefaultNo ? MsgAnswer::no : MsgAnswer::ok;
}

QString InstantDialogs::inputBox(QWidget*, const QString&, const QString&)
{
    ++shown_;
    return QStringLiteral("Banco");
}

}  // namespace brivana::bench
