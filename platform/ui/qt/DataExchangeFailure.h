// Thrown by CDataExchange::Fail and caught by UpdateData: abandons the rest of an exchange.
#pragma once

struct DataExchangeFailure {};
