#include "shop_fixture.h"

#include "app/startup.h"

ShopFixture::ShopFixture(newfolder::Content content, QDate today) : clock(today)
{
    QString error;
    if (newfolder::create(QStringLiteral("."), content, clock, &error))
        restart();
    else
        qWarning("new shop folder: %s", qPrintable(error));
}

bool ShopFixture::restart()
{
    session.reset();
    session = Startup(services()).run();
    return session != nullptr;
}
