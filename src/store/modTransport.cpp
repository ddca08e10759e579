#include "modTransport.h"

#include "clsTarvelaDB.h"
#include "platform/Platform.h"

QString DatabasePath;

QString databaseFileIn(const QString &folder)
{
    return Platform::findFileNoCase(folder, clsTarvelaDB::databaseFileName());
}
