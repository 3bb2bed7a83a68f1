/* Resource identifiers, shared by the resource script and the game. */
#ifndef MURVALO_RESOURCE_H
#define MURVALO_RESOURCE_H

#define IDI_APP             107
#define IDB_BLUEVIRUS       129
#define IDB_HOLE            130
#define IDB_MAGNIFIER       131
#define IDW_KNOCKOUT        132
#define IDB_CROSS           133
#define IDB_REDVIRUS        134
#define IDB_SHUTTERTOP      135
#define IDB_SHUTTERBOTTOM   136
#define IDB_LOGO            137
#define IDB_SHIELDVIRUS     138
#define IDW_STRIKE          139
#define IDC_MALLET          140

#endif
