// The network form of the accounting system: one catalog on a database
// server, reached through ODBC (unixODBC and the server's driver).
//
// Design note. The catalog is named after the accounting product
// ("KS770CW" or "KS770ZW"). It lists the sets in ZTXX (ZTID, ZTMC); the set
// of id "ID0001" keeps its current period in ID0001_XTSZ (DQKJN, DQKJY) and
// has the same tables as in the single-user form: ID0001_YE, ID0001_YHGL,
// ID0001_PZGL_M, ID0001_PZGL_D. Vouchers of this form mark debit lines "0"
// and credit lines "1"; for "KS770CW" the date PZRQ is "yyyymmdd" and each
// line carries the accounting item HSXM, for any other product the date is
// "yyyy.mm.dd" and HSXM is not written.
//
// The link of a task keeps the network form in F_ZTPATH as
//     "odbc:" + product + ":" + connection text
// for example "odbc:KS770CW:DSN=kjserver;UID=kj". The connection text is
// an ODBC data source name or a driver and server with the login, never a
// password: the password comes from the data source's configuration or is
// given when connecting, and is only ever added to the text handed to the
// driver. A connection text that names no database gets the product as its
// database (the catalog); one that names a database keeps it. A path
// without the prefix is a single-user accounting folder.
#pragma once

#include "accounting/odbc.h"
#include "accounting/store.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gzgl::accounting {

inline constexpr const char* kDefaultProduct = "KS770CW";
inline constexpr const char* kNetworkPrefix = "odbc:";
// The server refused the login name or the password.
inline constexpr const char* kRefusedLoginMessage = "财务数据库服务器拒绝了登录名或口令！";

struct NetworkLink {
    std::string product;    // the catalog, "KS770CW" or "KS770ZW"
    std::string connection; // ODBC connection text without a password
    bool operator==(const NetworkLink&) const = default;
};

// The network link F_ZTPATH describes, or nullopt for a folder (no prefix).
std::optional<NetworkLink> parseNetworkPath(const std::string& path);
// F_ZTPATH for a network link: "odbc:" + product + ":" + connection.
std::string networkPath(const NetworkLink& link);

// Why a network link cannot be kept, or empty when it can: a missing
// connection text, a product that is no plain name (letters, digits, "_"),
// a connection text holding a password.
std::string networkLinkProblem(const NetworkLink& link);

// The voucher marks and date layout of a product's network form.
VoucherForm networkForm(const std::string& product);

// The text handed to the driver: the link's connection text, the product
// as database when it names none, and the password when one is given.
std::string driverConnectionText(const NetworkLink& link, const std::string& password);

// A connection to the link's catalog. Throws AccountingError with a message
// for the user when the driver or data source is missing, the server cannot
// be reached or refuses the login or password, or the catalog does not
// exist.
odbc::Connection connectNetwork(const NetworkLink& link, const std::string& password);

// The sets of the catalog (ZTXX), ordered by id. Throws AccountingError
// with a message for the user when the driver or data source is missing,
// the server cannot be reached or refuses the login or password, the
// catalog does not exist or has no ZTXX.
std::vector<AccountingSet> networkSets(const NetworkLink& link, const std::string& password);

// Opens the set setID of the catalog, checked for the tables the transfer
// uses. Throws AccountingError as networkSets does, and with
// "请选择正确的核算单位！" when ZTXX does not list the set, or naming the
// missing table.
std::unique_ptr<AccountingStore> openNetworkStore(const NetworkLink& link, const std::string& password,
                                                  const std::string& setID);

} // namespace gzgl::accounting
