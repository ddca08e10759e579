#include "modTransport.h"

#include "platform/Platform.h"
#include "store/clsTarvelaDB.h"

QString DatabasePath;

QString databaseFileIn(const QString &folder)
{
    return Platform::findFileNoCase(folder, clsTarvelaDB::databaseFileName());
}
