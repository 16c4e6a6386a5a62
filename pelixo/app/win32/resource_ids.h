// Ids of the program's own resources; read by windres as well as C++.
#ifndef PELIXO_APP_WIN32_RESOURCE_IDS_H_
#define PELIXO_APP_WIN32_RESOURCE_IDS_H_

#define IDB_PELIXO_BANNER 101

#endif  // PELIXO_APP_WIN32_RESOURCE_IDS_H_
