<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AdderSetWindows</name>
    <message>
        <source>Address set</source>
        <translation>地址设置</translation>
    </message>
    <message>
        <source>Input seq</source>
        <translation>输入序列号</translation>
    </message>
    <message>
        <source>set addr</source>
        <translation>设置地址</translation>
    </message>
    <message>
        <source>Row addr</source>
        <translation>行地址</translation>
    </message>
    <message>
        <source>lock addr</source>
        <translation>锁定地址</translation>
    </message>
    <message>
        <source>Column addr</source>
        <translation>列地址</translation>
    </message>
    <message>
        <source>unlock addr</source>
        <translation>解锁地址</translation>
    </message>
    <message>
        <source>Get seq</source>
        <translation>获取序列号</translation>
    </message>
    <message>
        <source>Look addr</source>
        <translation>查看地址</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>AddressCommands</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Row and column addresses must be from 0 to 255.</source>
        <translation>行地址和列地址
必须在0到255之间。</translation>
    </message>
    <message>
        <source>The sequence number must be from 0 to 9999.</source>
        <translation>序号必须在0到9999之间。</translation>
    </message>
</context>
<context>
    <name>JoinSettingWindows</name>
    <message>
        <source>Splice Setting</source>
        <translation>拼接配置</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>用户名称</translation>
    </message>
    <message>
        <source>Please enter user name</source>
        <translation>请输入用户名</translation>
    </message>
    <message>
        <source>Splice</source>
        <translation>拼接行列</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>行</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>列</translation>
    </message>
    <message>
        <source>User logo</source>
        <translation>用户标志</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入图片</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
</context>
<context>
    <name>MatrixConfigurationWindows</name>
    <message>
        <source>Matrix Setting</source>
        <translation>矩阵配置</translation>
    </message>
    <message>
        <source>Matrix output to splice connection diagram</source>
        <translation>矩阵输出到拼接器连接示意图</translation>
    </message>
    <message>
        <source>Port match</source>
        <translation>一对一接法</translation>
    </message>
    <message>
        <source>Manual configuration：starting from 1, 0 is empty, manual configuration must be digital</source>
        <translation>手动配置：从1开始，0为空，手动配置必须为数字</translation>
    </message>
    <message>
        <source>Matrix repair</source>
        <translation>矩阵修复</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>Matrix Select</source>
        <translation>矩阵厂家选择</translation>
    </message>
    <message>
        <source>Video matrix</source>
        <translation>VIDEO矩阵</translation>
    </message>
    <message>
        <source>VGA matrix</source>
        <translation>VGA矩阵</translation>
    </message>
    <message>
        <source>DVI matrix</source>
        <translation>DVI矩阵</translation>
    </message>
    <message>
        <source>HDMI matrix</source>
        <translation>HDMI矩阵</translation>
    </message>
    <message>
        <source>SDI matrix</source>
        <translation>SDI矩阵</translation>
    </message>
    <message>
        <source>Advanced settings</source>
        <translation>高级设置</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>矩阵ID</translation>
    </message>
    <message>
        <source>Response time</source>
        <translation>响应时间</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>毫秒</translation>
    </message>
    <message>
        <source>Interval time</source>
        <translation>间隔时间</translation>
    </message>
    <message>
        <source>Instruction sending sequence</source>
        <translation>指令发送顺序</translation>
    </message>
    <message>
        <source>Screen preferred</source>
        <translation>屏幕优先</translation>
    </message>
    <message>
        <source>Matrix preferred</source>
        <translation>矩阵优先</translation>
    </message>
    <message>
        <source> Matrix input amount </source>
        <translation>矩阵输入路数选择</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>PortSettingWindows</name>
    <message>
        <source>Port Setting</source>
        <translation>通讯配置</translation>
    </message>
    <message>
        <source>Connection mode</source>
        <translation>连接方式</translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>Wireless network</source>
        <translation>无线网络</translation>
    </message>
    <message>
        <source>Serial port setting</source>
        <translation>串口设置</translation>
    </message>
    <message>
        <source>Lcd control ports</source>
        <translation>拼接控制端口</translation>
    </message>
    <message>
        <source>Port num</source>
        <translation>端口号</translation>
    </message>
    <message>
        <source>Video control ports</source>
        <translation>视频控制端口</translation>
    </message>
    <message>
        <source>Matrix linkage</source>
        <translation>矩阵联动</translation>
    </message>
    <message>
        <source>RGB/VGA/DVI control ports</source>
        <translation>RGB/VGA/DVI控制端口</translation>
    </message>
    <message>
        <source>Port refresh</source>
        <translation>刷新端口</translation>
    </message>
    <message>
        <source>Wireless settings</source>
        <translation>无线设置</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Auto open</source>
        <translation>自动打开</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
</TS>
