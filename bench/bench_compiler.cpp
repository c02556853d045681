// Time of one compile of a full configuration: TLS material, 10 known certificates, 50 variables
// and both Modbus grids full (1024 requests), built in a scratch folder.
#include "gateway/UCompile_Bin.h"
#include "gateway/table/UTableFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString Pem(const char *what, int lines)
{
    QString s = QStringLiteral("-----BEGIN %1-----\n").arg(QLatin1String(what));
    for (int i = 0; i < lines; ++i)
        s += QString(64, QLatin1Char('A' + i % 26)) + QLatin1Char('\n');
    return s + QStringLiteral("-----END %1-----\n").arg(QLatin1String(what));
}

void WriteParGen(const QString &path)
{
    const std::pair<const char *, QString> keys[] = {
        {"IEC61850_Server_IP1", "10"},
        {"IEC61850_Server_IP2", "0"},
        {"IEC61850_Server_IP3", "0"},
        {"IEC61850_Server_IP4", "5"},
        {"IEC61850_Server_EN_GAT", "1"},
        {"IEC61850_Server_Password", "password"},
        {"IEC61850_Server_Name_Of_Server", "Gateway"},
        {"Eth_Conn_Device_Name", "gateway-01"},
        {"Eth_Conn_Enable_DNS", "1"},
        {"TLS_Server_Enable", "1"},
        {"TLS_Server_Key", Pem("PRIVATE KEY", 25)},
        {"TLS_Server_Key_Password", "keypass"},
        {"TLS_Server_Server_Certificate", Pem("CERTIFICATE", 30)},
        {"TLS_Server_Root_Certificate", Pem("CERTIFICATE", 30)},
        {"TLS_Server_Enable_Known_Cert", "1"},
        {"ModbusM_BAUDRATE", "4"},
        {"NTP_Server_URL", "pool.ntp.org"},
        {"NTP_Poll_Time", "3600"},
    };
    QString xml = QStringLiteral("<Par_Gen>\n");
    for (const auto &[key, value] : keys)
        xml += QStringLiteral("\t<%1>%2</%1>\n").arg(QLatin1String(key), value.toHtmlEscaped());
    xml += QStringLiteral("</Par_Gen>\n<!--SW_VERSION = 1.005-->\n");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(xml.toUtf8());
}

void WriteTables(const QString &folder)
{
    const TTableFileDesc &tls = TLS_Known_Cert_Table();
    TTableData certs = Empty_Table_Data(tls);
    for (int i = 0; i < tls.Groups[0].Capacity; ++i)
        certs[0] << TTableRow{"Y", Pem("CERTIFICATE", 20), QStringLiteral("client %1").arg(i)};
    Write_Table_File(tls, certs, folder + QStringLiteral("/") + tls.FileName);

    const TTableFileDesc &iec = IEC61850_Variables_Table();
    TTableData vars = Empty_Table_Data(iec);
    for (int i = 0; i < iec.Groups[0].Capacity; ++i)
        vars[0] << TTableRow{"Y",
                             QStringLiteral("Variable_%1").arg(i),
                             i % 3 == 0 ? "Float" : (i % 3 == 1 ? "Int" : "Digital (Bit)"),
                             "4",
                             "N",
                             QString::number(i * 4),
                             QString::number(i % 8),
                             "None",
                             "0,5",
                             "N",
                             "Y",
                             "m"};
    Write_Table_File(iec, vars, folder + QStringLiteral("/") + iec.FileName);

    const TTableFileDesc &mb = ModbusM_SetAccess_Table();
    TTableData rules = Empty_Table_Data(mb);
    for (int i = 0; i < mb.Groups[Modbus_Read_Group].Capacity; ++i)
        rules[Modbus_Read_Group] << TTableRow{"Y",
                                              QString::number(1 + i % 247),
                                              "Holding Register",
                                              QString::number(i),
                                              "1",
                                              "1000",
                                              "0",
                                              QString::number(i % 1438),
                                              "",
                                              "N",
                                              "N",
                                              "-1",
                                              "r"};
    for (int i = 0; i < mb.Groups[Modbus_Write_Group].Capacity; ++i)
        rules[Modbus_Write_Group] << TTableRow{"Y",           QString::number(1 + i % 247),
                                               "Coil Status", QString::number(i),
                                               "8",           "0",
                                               "Y",           "N",
                                               "0",           QString::number(i % 1438),
                                               "0",           "N",
                                               "N",           "w"};
    Write_Table_File(mb, rules, folder + QStringLiteral("/") + mb.FileName);
}

void BM_Compile_Bin(benchmark::State &state)
{
    QTemporaryDir dir;
    WriteParGen(dir.filePath(QStringLiteral("ParGen.xml")));
    WriteTables(dir.path());
    const TCompile_Files files = TCompile_Files::In_Folder(dir.path());

    TImage_Compiler compiler;
    for (auto _ : state) {
        compiler.Compile_Bin(files);
        benchmark::DoNotOptimize(compiler.Image2().constData());
    }
    state.counters["image2_bytes"] = double(compiler.Image2().size());
    state.counters["requests"] = compiler.Modbus_Count();
}
BENCHMARK(BM_Compile_Bin)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
