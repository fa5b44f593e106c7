<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MessageBox</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>Velmar_Windows</name>
    <message>
        <source>Large-screen software</source>
        <translation>大屏幕软件</translation>
    </message>
</context>
</TS>
