<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Velmar_Windows</name>
    <message>
        <source>Brisna</source>
        <translation>大屏拼接控制</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>连接串口/无线</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>断开串口/无线</translation>
    </message>
    <message>
        <source>  Port Operate </source>
        <translation> 串口通讯 </translation>
    </message>
    <message>
        <source>Port Setting</source>
        <translation>通讯配置</translation>
    </message>
    <message>
        <source>Splice Setting</source>
        <translation>拼接配置</translation>
    </message>
    <message>
        <source>Matrix Setting</source>
        <translation>矩阵配置</translation>
    </message>
    <message>
        <source>Administrator</source>
        <translation>管理员</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>English</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source> Config </source>
        <translation> 功能配置 </translation>
    </message>
    <message>
        <source>Multi-Media</source>
        <translation>播放设置</translation>
    </message>
    <message>
        <source>Address set</source>
        <translation>地址设置</translation>
    </message>
    <message>
        <source>Skin</source>
        <translation>皮肤</translation>
    </message>
    <message>
        <source>Timing</source>
        <translation>定时设置</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>虚拟遥控</translation>
    </message>
    <message>
        <source>Subtitle</source>
        <translation>字幕设置</translation>
    </message>
    <message>
        <source>  Other  </source>
        <translation> 附加功能 </translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>信号选择</translation>
    </message>
    <message>
        <source>Signal Type</source>
        <translation>信号类型</translation>
    </message>
    <message>
        <source>Splice</source>
        <translation>拼接</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>单显</translation>
    </message>
    <message>
        <source>Matrix Input</source>
        <translation>矩阵输入通道</translation>
    </message>
    <message>
        <source>Linkage</source>
        <translation>矩阵联动</translation>
    </message>
    <message>
        <source>Matrix model</source>
        <translation>矩阵型号</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>场景管理</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存预案</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>调入预案</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>更改名称</translation>
    </message>
    <message>
        <source>Mini</source>
        <translation>迷你面板</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>电源开关</translation>
    </message>
    <message>
        <source>Delayed</source>
        <translation>延迟开机</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Boot</source>
        <translation>开机</translation>
    </message>
    <message>
        <source>Standby</source>
        <translation>待机</translation>
    </message>
    <message>
        <source>Fan Mode</source>
        <translation>风扇模式选择</translation>
    </message>
    <message>
        <source>Normally open</source>
        <translation>常开</translation>
    </message>
    <message>
        <source>Normal close</source>
        <translation>常闭</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>手动设置</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>℃ Control</source>
        <translation>温度控制</translation>
    </message>
    <message>
        <source>TI Mode</source>
        <translation>TI 模式选择</translation>
    </message>
    <message>
        <source>Group Mode</source>
        <translation>组选择</translation>
    </message>
    <message>
        <source>A Group</source>
        <translation>A 组</translation>
    </message>
    <message>
        <source>B Group</source>
        <translation>B 组</translation>
    </message>
    <message>
        <source>8/10bit Adjust</source>
        <translation>8/10位调节</translation>
    </message>
    <message>
        <source>8 bit</source>
        <translation>8 位</translation>
    </message>
    <message>
        <source>10 bit</source>
        <translation>10 位</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>手动调试</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>软件版本</translation>
    </message>
    <message>
        <source>Testing</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>Input seq</source>
        <translation>输入序列号</translation>
    </message>
    <message>
        <source>Row addr</source>
        <translation>行地址</translation>
    </message>
    <message>
        <source>Column addr</source>
        <translation>列地址</translation>
    </message>
    <message>
        <source>set addr</source>
        <translation>设置地址</translation>
    </message>
    <message>
        <source>lock addr</source>
        <translation>锁定地址</translation>
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
        <source>unlock addr</source>
        <translation>解锁地址</translation>
    </message>
    <message>
        <source>Open </source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Close </source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Aging Mode</source>
        <translation>老化模式</translation>
    </message>
    <message>
        <source>StartUp Logo Mode</source>
        <translation>开机 LOGO 模式</translation>
    </message>
    <message>
        <source>Splice mode</source>
        <translation>拼接模式</translation>
    </message>
    <message>
        <source>Single mode</source>
        <translation>单显模式</translation>
    </message>
    <message>
        <source>Logo Switch</source>
        <translation>LOGO 开关</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>普通</translation>
    </message>
    <message>
        <source> AMD Adapt</source>
        <translation>AMD修正</translation>
    </message>
    <message>
        <source>Matrix input start</source>
        <translation>矩阵输入起始端口</translation>
    </message>
    <message>
        <source>Matrix input end</source>
        <translation>矩阵输入终止端口</translation>
    </message>
    <message>
        <source>Matrix output start</source>
        <translation>矩阵输出起始端口</translation>
    </message>
    <message>
        <source>Matrix output end</source>
        <translation>矩阵输出终止端口</translation>
    </message>
    <message>
        <source>Switch Interval(s)</source>
        <translation>切换间隔时间（秒）</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Matrix browsing</source>
        <translation>矩阵浏览</translation>
    </message>
    <message>
        <source>Scene Start</source>
        <translation>起始预案</translation>
    </message>
    <message>
        <source>Scene End</source>
        <translation>终止预案</translation>
    </message>
    <message>
        <source>Plan browse</source>
        <translation>预案浏览</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>程序升级</translation>
    </message>
    <message>
        <source>Software Update</source>
        <translation>软件更新</translation>
    </message>
    <message>
        <source>Permission : %1</source>
        <translation>操作权限 : %1</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>黑色</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Please confirm that the IP address or port is correct!</source>
        <translation>请确认IP地址或端口是否正确！</translation>
    </message>
    <message>
        <source>Please confirm whether %1 exists or has been occupied!</source>
        <translation>请确认%1
是否存在或已被占用！</translation>
    </message>
    <message>
        <source>The video matrix port conflicts with the RGB matrix port!</source>
        <translation>视频矩阵端口与
RGB矩阵端口冲突！</translation>
    </message>
    <message>
        <source>The link to %1 was lost!</source>
        <translation>与%1的连接已断开！</translation>
    </message>
    <message>
        <source>Still</source>
        <translation>静止</translation>
    </message>
    <message>
        <source>Signal pattern</source>
        <translation>无信号模式</translation>
    </message>
    <message>
        <source>Flip model</source>
        <translation>翻转模式</translation>
    </message>
    <message>
        <source>Stitching mode</source>
        <translation>拼接模式</translation>
    </message>
    <message>
        <source>Image adjustment</source>
        <translation>图像调节</translation>
    </message>
    <message>
        <source>Local save</source>
        <translation>本地保存</translation>
    </message>
    <message>
        <source>Border effect</source>
        <translation>边缘融合</translation>
    </message>
    <message>
        <source>No signal black screen  </source>
        <translation>无信号黑屏</translation>
    </message>
    <message>
        <source>No signal blue screen</source>
        <translation>无信号蓝屏</translation>
    </message>
    <message>
        <source>Special regulation</source>
        <translation>异形调节</translation>
    </message>
    <message>
        <source>Mode open</source>
        <translation>模式打开</translation>
    </message>
    <message>
        <source>Mode off</source>
        <translation>模式关闭</translation>
    </message>
    <message>
        <source>Positive</source>
        <translation>正向</translation>
    </message>
    <message>
        <source>Inverse</source>
        <translation>反向</translation>
    </message>
    <message>
        <source>Multi screen</source>
        <translation>多屏</translation>
    </message>
</context>
</TS>
