// The network module is C++ loaded at run time: only this build's own may be used.

#include "networkmodule/NetworkModule.h"
#include "networkmodule/NetworkModuleEntry.h"
#include "release/SmallFetch.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QtTest>

class NetworkModuleTest : public QObject
{
    Q_OBJECT
private slots:
    void onlyThisBuildsModuleIsAccepted()
    {
        // The module built with this test, beside it as beside the program.
        const QString path = NetworkModule::candidates(QCoreApplication::applicationDirPath()).first();
        QLibrary library(path);
        const auto entryFunction =
            reinterpret_cast<NetworkModuleEntryFunction>(library.resolve(kNetworkModuleEntryFunction));
        QVERIFY2(entryFunction, qPrintable(library.errorString()));
        const NetworkModuleEntry own = *entryFunction();
        QCOMPARE(NetworkModule::check(own), NetworkModule::Problem::None);

        NetworkModuleEntry otherInterface = own;
        ++otherInterface.interfaceVersion;
        QCOMPARE(NetworkModule::check(otherInterface), NetworkModule::Problem::OtherBuild);
        const QByteArray otherIdentity = QByteArray(own.buildIdentity) + 'x';
        NetworkModuleEntry otherBuild = own;
        otherBuild.buildIdentity = otherIdentity.constData();
        QCOMPARE(NetworkModule::check(otherBuild), NetworkModule::Problem::OtherBuild);
        otherBuild.buildIdentity = nullptr;
        QCOMPARE(NetworkModule::check(otherBuild), NetworkModule::Problem::OtherBuild);
    }

    void theFetchComesFromTheModule()
    {
        NetworkModule::Problem problem = NetworkModule::Problem::Missing;
        QObject owner;
        SmallFetch* fetch = NetworkModule::makeFetch(&owner, &problem);
        QCOMPARE(problem, NetworkModule::Problem::None);
        QVERIFY(fetch);
        QCOMPARE(fetch->parent(), &owner);
        QVERIFY(!fetch->isRunning());
    }

    void theInstalledModuleIsFoundBesideTheProgramsFolder()
    {
        const QStringList places = NetworkModule::candidates(QStringLiteral("/usr/bin"));
        QCOMPARE(places.first(), QStringLiteral("/usr/bin/velmora_network.so"));
        QVERIFY(places.last().startsWith(QStringLiteral("/usr/lib/")));
        QVERIFY(places.last().endsWith(QStringLiteral("/velmora/velmora_network.so")));
    }
};

QTEST_GUILESS_MAIN(NetworkModuleTest)
#include "NetworkModuleTest.moc"
