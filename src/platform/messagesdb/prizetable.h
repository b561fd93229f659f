#pragma once

#include <QString>

#include <memory>
#include <vector>

class MessagesStorage;
class OrlixPrize;
class OrlixPrizeWinner;
enum class PrizeWinnerRefusal;

// The statements on prizes and their winners. Changes need the caller's transaction.
class PrizeTable {
public:
    static bool ReadPrize(MessagesStorage& storage, qint32 reference, OrlixPrize& prize,
                          bool& found);
    static bool StorePrize(MessagesStorage& storage, OrlixPrize& prize);
    static bool DeletePrize(MessagesStorage& storage, qint32 reference, bool& found);
    static bool ReadWinners(MessagesStorage& storage, qint32 prize,
                            std::vector<std::shared_ptr<OrlixPrizeWinner>>& out);
    static std::shared_ptr<OrlixPrizeWinner> ReadWinner(MessagesStorage& storage, qint32 reference);
    // Refuses (false, with why and its reason) a new winner beyond the number supplied.
    static bool StoreWinner(MessagesStorage& storage, OrlixPrizeWinner& winner, QString& why,
                            PrizeWinnerRefusal& refusal);
    static bool DeleteWinner(MessagesStorage& storage, qint32 reference, bool& found);
    static qint32 CountWon(MessagesStorage& storage, qint32 contact);
};
