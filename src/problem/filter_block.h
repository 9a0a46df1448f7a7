#pragma once

#include <QVariant>

#include <functional>

namespace vexo {

// A filter expression bound to the data server it is evaluated against. The server is not owned.
template <typename Server>
class FILTERBLOCK
{
public:
    using Expression = std::function<QVariant(Server *)>;

    FILTERBLOCK(Server *server, Expression expression)
        : ODB(server)
        , BEXPR(std::move(expression))
    {
    }
    ~FILTERBLOCK() { DESTROY(); }

    FILTERBLOCK(const FILTERBLOCK &) = delete;
    FILTERBLOCK &operator=(const FILTERBLOCK &) = delete;

    // The expression's answer for the server; nothing (an invalid value) once destroyed.
    QVariant EVAL() const { return BEXPR ? BEXPR(ODB) : QVariant(); }

    // Lets go of server and expression; a second call changes nothing.
    FILTERBLOCK &DESTROY()
    {
        ODB = nullptr;
        BEXPR = nullptr;
        return *this;
    }

    Server *ODB = nullptr;
    Expression BEXPR;
};

} // namespace vexo
